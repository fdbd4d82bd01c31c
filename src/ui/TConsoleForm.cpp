#include "ui/TConsoleForm.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace tesk {

TConsoleForm::TConsoleForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      logMemo_(new QTextEdit(this)) {
    setObjectName("ConsoleForm");
    setWindowTitle("Console");
    setMinimumSize(300, 300);
    resize(498, 378);
    logMemo_->setObjectName("LogMemo");
    logMemo_->setReadOnly(true);
    logMemo_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(logMemo_);
}

void TConsoleForm::AddToLog(const LogEntry& entry) {
    logMemo_->setTextColor(QColor(entry.colour.red, entry.colour.green, entry.colour.blue));
    logMemo_->append(QString::fromStdString(entry.text));
}

}  // namespace tesk
