#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "connection/ConnectionStatus.h"
#include "ui/BoundedTranscript.h"
#include "watch/RemoteTextLimits.h"

class QLineEdit;
class QMenu;
class QTextEdit;
class QTime;
class QUrl;

namespace tesk {

class CommandQueue;
class GatewayDialect;

// What a chat window needs from the rest of the program.
struct ChatContext {
    CommandQueue* queue = nullptr;
    std::function<ConnectionStatus()> status;
    // What the server of the connection speaks; null before there is a connection.
    std::function<const GatewayDialect*()> dialect;
    std::function<void(const std::string&)> addUser;  // to the watch list, asking "/whois"
    std::function<void(const QUrl&)> openUrl;
    std::function<void(QWidget*, const QString&)> showError;  // "Error" box
    // The partner's whisper history: its last lines, and its removal after the user
    // confirmed it (a question box answered Yes).
    std::function<std::vector<std::string>(const std::string&)> historyTail;
    std::function<void(const std::string&)> deleteHistory;
    std::function<bool(QWidget*, const QString&)> confirm;
    QString iniPath;  // the chat window size lives in Tesk.ini
    RemoteTextLimits limits;
};

// The window of one conversation: the transcript, a toolbar with Send, Add and
// Statistics, and the message line. The transcript begins with the partner's history as
// it was when the window was made, greyed, above a rule; its context menu offers to
// delete the history. Closing destroys it and remembers its size for the next chat window.
class ChatForm : public QWidget {
    Q_OBJECT
public:
    ChatForm(std::string partnerName, ChatContext context, QWidget* parent = nullptr);

    const std::string& partnerName() const { return partnerName_; }

    void appendHeader(const QString& speaker, const QTime& time);
    void appendBody(const QString& text, bool ownWhisper);
    // Under the whisper the gateway did not deliver, in red.
    void appendRefusal(const QString& reason);
    QString transcript() const;
    // The transcript's context menu, for the caller to show and delete.
    QMenu* makeTranscriptMenu();
    // "Delete history…": removes the partner's history once the user confirmed it.
    void deleteHistoryClick();

    void sendButtonClick();
    QLineEdit* msgEdit() const { return msgEdit_; }
    QMenu* statsMenu() const { return statsMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildToolbar();
    void showHistory();
    void requestStats(const std::vector<const char*>& codes);
    void statsButtonClick();

    const std::string partnerName_;
    const ChatContext context_;
    QTextEdit* chatMemo_;
    BoundedTranscript transcript_;
    QLineEdit* msgEdit_;
    QMenu* statsMenu_ = nullptr;
};

}  // namespace tesk
