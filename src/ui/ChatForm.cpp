#include "ui/ChatForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "connection/CommandQueue.h"
#include "connection/GatewayDialect.h"
#include "connection/WhisperLines.h"
#include "settings/IniFile.h"
#include "settings/WindowLayout.h"
#include "ui/ImageList.h"
#include "ui/KeyHandler.h"
#include "ui/RichText.h"
#include "ui/ScreenPlacement.h"
#include "watch/Products.h"
#include "watch/ShownText.h"
#include "watch/UserCommands.h"

namespace tesk {

namespace {
const QColor kHeaderColour(106, 106, 106);
const QColor kIncomingColour(11, 119, 14);
const QColor kOwnColour(7, 62, 122);
const QColor kErrorColour(Qt::red);
const QColor kHistoryColour(128, 128, 128);
}  // namespace

ChatForm::ChatForm(std::string partnerName, ChatContext context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      partnerName_(std::move(partnerName)),
      context_(std::move(context)),
      chatMemo_(new QTextEdit(this)),
      transcript_(chatMemo_, context_.limits.transcriptBytes),
      msgEdit_(new QLineEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(images::applicationIcon());
    setWindowTitle("Chat: " + shownText(partnerName_, context_.limits.shownLineBytes));
    setMinimumSize(200, 200);
    const ChatFormSize size = readChatFormSize(IniFile(context_.iniPath));
    resize(size.width, size.height);

    chatMemo_->setObjectName("ChatMemo");
    chatMemo_->setReadOnly(true);
    chatMemo_->setFrameShape(QFrame::NoFrame);
    chatMemo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chatMemo_->setTextColor(kHeaderColour);
    useFaceBackground(chatMemo_);
    moveCaretToEndOnFocusOut(chatMemo_);
    chatMemo_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chatMemo_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = makeTranscriptMenu();
        menu->exec(chatMemo_->viewport()->mapToGlobal(pos));
        delete menu;
    });
    showHistory();

    msgEdit_->setObjectName("MsgEdit");
    msgEdit_->setFixedHeight(24);
    new KeyHandler(msgEdit_, {{Qt::Key_Return, [this] { sendButtonClick(); }},
                              {Qt::Key_Enter, [this] { sendButtonClick(); }},
                              {Qt::Key_Escape, [this] { close(); }}});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    layout->addWidget(chatMemo_, 1);
    buildToolbar();
    layout->addWidget(msgEdit_);
    setTabOrder(msgEdit_, chatMemo_);
    placeOnHomeScreenWhenShown(this, Placement::Keep);
}

void ChatForm::showHistory() {
    if (!context_.historyTail) {
        return;
    }
    const std::vector<std::string> lines = context_.historyTail(partnerName_);
    if (lines.empty()) {
        return;
    }
    for (const std::string& line : lines) {
        transcript_.appendParagraph(shownText(line, context_.limits.shownLineBytes), kHistoryColour,
                                    false, 0);
    }
    // The rule under the last line of the history parts it from this conversation.
    QTextCursor cursor(chatMemo_->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat ruled = cursor.blockFormat();
    ruled.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                      QTextLength(QTextLength::PercentageLength, 100));
    cursor.setBlockFormat(ruled);
}

QMenu* ChatForm::makeTranscriptMenu() {
    QMenu* menu = chatMemo_->createStandardContextMenu();
    menu->addSeparator();
    QAction* remove = menu->addAction("Delete history…");
    remove->setObjectName("DeleteHistoryAction");
    remove->setEnabled(context_.deleteHistory && context_.confirm);
    connect(remove, &QAction::triggered, this, &ChatForm::deleteHistoryClick);
    return menu;
}

void ChatForm::deleteHistoryClick() {
    const QString question = "Delete the whisper history with " +
                             shownText(partnerName_, context_.limits.shownLineBytes) + "?";
    if (context_.confirm(this, question)) {
        context_.deleteHistory(partnerName_);
    }
}

void ChatForm::buildToolbar() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* toolbar = new QToolBar("Toolbar", this);
    toolbar->setObjectName("Toolbar");
    toolbar->setMovable(false);
    toolbar->setFixedHeight(27);
    toolbar->setIconSize(QSize(16, 16));

    QAction* send = toolbar->addAction(images::icon(images::kEnvelope), "Send");
    send->setObjectName("SendButton");
    send->setToolTip(QString());
    qobject_cast<QToolButton*>(toolbar->widgetForAction(send))
        ->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(send, &QAction::triggered, this, &ChatForm::sendButtonClick);
    toolbar->addSeparator();
    QAction* add = toolbar->addAction(images::icon(images::kSheet), "Add");
    add->setObjectName("AddUserButton");
    add->setToolTip("Add user");
    connect(add, &QAction::triggered, this, [this] {
        if (context_.addUser) {
            context_.addUser(partnerName_);
        }
    });

    statsMenu_ = new QMenu(this);
    const auto item = [this](const QString& name, const QString& caption,
                             std::vector<const char*> codes) {
        QAction* action = statsMenu_->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, codes] { requestStats(codes); });
        return action;
    };
    for (const Product& product : kProducts) {
        QString name = QString::fromLatin1(product.code) + "StatsButton";  // "War3StatsButton"
        name[0] = name[0].toUpper();
        item(name, product.caption, {product.code});
    }
    statsMenu_->addSeparator();
    item("AllStatsButton", "All", allStatsCodes());
    QAction* profile = statsMenu_->addAction("Player Profile");
    profile->setObjectName("War3ProfileButton");
    connect(profile, &QAction::triggered, this, [this] {
        if (context_.openUrl) {
            context_.openUrl(QUrl(playerProfileUrl(partnerName_), QUrl::StrictMode));
        }
    });
    connect(statsMenu_, &QMenu::aboutToShow, this, &ChatForm::statsButtonClick);

    auto* stats = new QToolButton(toolbar);
    stats->setObjectName("StatsButton");
    stats->setIcon(images::icon(images::kMagnifier));
    stats->setToolTip("Statistics");
    stats->setMenu(statsMenu_);
    // The arrow beside the magnifier says that the products are behind it; a click on
    // either part opens them.
    stats->setPopupMode(QToolButton::MenuButtonPopup);
    connect(stats, &QToolButton::clicked, stats, &QToolButton::showMenu);
    toolbar->addWidget(stats);

    auto* box = static_cast<QVBoxLayout*>(layout());
    box->addWidget(line);
    box->addWidget(toolbar);
}

void ChatForm::statsButtonClick() {
    const GatewayDialect* dialect = context_.dialect ? context_.dialect() : nullptr;
    const StatsEntries entries =
        statsEntriesFor(partnerName_, dialect && dialect->type() == ServerType::PvPGN);
    for (QAction* action : statsMenu_->actions()) {
        const QString name = action->objectName();
        if (name == "War3StatsButton") {
            action->setVisible(entries.warcraftIII);
        } else if (name == "War3ProfileButton") {
            action->setVisible(entries.profile);
        } else if (!action->isSeparator()) {
            action->setVisible(entries.otherGames);
        }
    }
}

void ChatForm::requestStats(const std::vector<const char*>& codes) {
    for (const char* code : codes) {
        context_.queue->putFront(statsCommand(partnerName_, code), mark::kProgram);
    }
}

void ChatForm::sendButtonClick() {
    if (msgEdit_->text().isEmpty()) {
        return;
    }
    if (!isOffline(context_.status())) {
        // The transcript shows each whisper when the gateway confirms it.
        const GatewayDialect* dialect = context_.dialect ? context_.dialect() : nullptr;
        context_.queue->putFrontInOrder(whisperLines(partnerName_, msgEdit_->text().toStdString(),
                                                     dialect ? dialect->longestLine() : 0),
                                        mark::kProgram);
        msgEdit_->clear();
    } else {
        transcript_.appendParagraph("Not connected!", kErrorColour, false, 0);
    }
    chatMemo_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

void ChatForm::appendHeader(const QString& speaker, const QTime& time) {
    transcript_.appendParagraph(speaker + " (" + time.toString("hh:mm") + ")", kHeaderColour, true,
                                0);
}

void ChatForm::appendBody(const QString& text, bool ownWhisper) {
    transcript_.appendParagraph(text, ownWhisper ? kOwnColour : kIncomingColour, false, 8);
}

void ChatForm::appendRefusal(const QString& reason) {
    transcript_.appendParagraph("Not delivered: " + reason, kErrorColour, false, 8);
}

QString ChatForm::transcript() const {
    return chatMemo_->toPlainText();
}

void ChatForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    msgEdit_->setFocus();
}

void ChatForm::closeEvent(QCloseEvent* event) {
    IniFile ini(context_.iniPath);
    writeChatFormSize(ini, {width(), height()});
    // Only the size is lost when it cannot be saved: say so, but let the window close.
    if (!ini.flush() && context_.showError) {
        context_.showError(this, IniFile::unableToWriteMessage(context_.iniPath));
    }
    event->accept();
}

}  // namespace tesk
