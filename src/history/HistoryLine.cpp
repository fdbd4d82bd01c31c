#include "history/HistoryLine.h"

#include "watch/ShownText.h"

namespace tesk {

namespace {

std::string timed(const QDateTime& time, const std::string& rest, std::size_t maxBytes) {
    const std::string line =
        time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString() + " " + rest;
    return line.substr(0, keptLength(line, maxBytes));
}

}  // namespace

std::string historyLine(const QDateTime& time, std::string_view speaker, std::string_view text,
                        std::size_t maxBytes) {
    return timed(time, terminalText(speaker) + ": " + terminalText(text), maxBytes);
}

std::string historyNote(const QDateTime& time, std::string_view note, std::size_t maxBytes) {
    return timed(time, terminalText(note), maxBytes);
}

}  // namespace tesk
