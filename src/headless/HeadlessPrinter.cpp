#include "headless/HeadlessPrinter.h"

#include <algorithm>

#include "platform/GuiThread.h"
#include "watch/Products.h"
#include "watch/RowReport.h"
#include "watch/ShownText.h"
#include "watch/Sightings.h"
#include "watch/WatchListModel.h"

namespace tesk {

HeadlessPrinter::HeadlessPrinter(WatchListModel& watchList, std::FILE* out,
                                 std::function<QTime()> clock)
    : watchList_(watchList), out_(out), clock_(std::move(clock)) {
    // A whois reply can take two lines (the place, then away or DND): report a row once
    // its reply is complete, not the state in between.
    rowReport_.setSingleShot(true);
    rowReport_.setInterval(300);
    QObject::connect(&rowReport_, &QTimer::timeout, [this] { reportChangedRows(); });
    const auto later = [this] { rowReport_.start(); };
    QObject::connect(&watchList_, &WatchListModel::dataChanged, &rowReport_, later);
    QObject::connect(&watchList_, &WatchListModel::modelReset, &rowReport_, later);
}

// Received text is in most lines, so every line is escaped for the terminal.
void HeadlessPrinter::print(const std::string& text) {
    const std::string line = terminalText(text);
    std::fprintf(out_, "%s %s\n", clock_().toString("hh:mm").toStdString().c_str(), line.c_str());
    std::fflush(out_);
}

void HeadlessPrinter::reportChangedRows() {
    for (int i = 0; i < watchList_.size(); ++i) {
        const WatchRow& row = watchList_.row(i);
        // Rows start unknown; only what the gateway tells about them is news. When the
        // user was seen is not: an offline line says it once.
        WatchedUser& shown = shownRows_[row.key];
        if (!(shown == row.user)) {
            shown = row.user;
            print(describeRow(row.name, row.user,
                              seenText(row.user.presence, row.seen, watchList_.now())));
        }
    }
}

void HeadlessPrinter::showStatus(const StatusDisplay& display) {
    TESK_ASSERT_GUI_THREAD();
    const std::string& status = display.tipCaption.empty() ? display.caption : display.tipCaption;
    if (status != shownStatus_) {
        shownStatus_ = status;
        print("status: " + status);
    }
}

void HeadlessPrinter::showError(const std::string& message) {
    TESK_ASSERT_GUI_THREAD();
    // Our messages are meant for boxes and have line breaks; one change is one line here.
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    print("error: " + line);
}

void HeadlessPrinter::showNote(const std::string& text) {
    TESK_ASSERT_GUI_THREAD();
    print("note: " + text);
}

void HeadlessPrinter::announceOnline(const std::string& name) {
    TESK_ASSERT_GUI_THREAD();
    print("User " + name + " is online");
}

void HeadlessPrinter::showSaid(const std::string& partner, const HeldWhisper& said, bool) {
    TESK_ASSERT_GUI_THREAD();
    if (said.incoming) {
        print("whisper from " + partner + ": " + said.text);
    } else if (said.refusal) {
        print("whisper to " + partner + " not delivered (" + *said.refusal + "): " + said.text);
    } else {
        print("whisper to " + partner + " from " + said.speaker + ": " + said.text);
    }
}

void HeadlessPrinter::showStats(const StatsAnswer& reply) {
    TESK_ASSERT_GUI_THREAD();
    if (reply.productCode) {
        print("statistics " + reply.name + ": " + statsHeading(*reply.productCode));
    }
    if (reply.body) {
        print("statistics " + reply.name + ":   " + *reply.body);
    }
}

}  // namespace tesk
