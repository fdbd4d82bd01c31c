#pragma once

#include <QWidget>

#include "connection/ConnectionView.h"

class QTextEdit;

namespace tesk {

// The console: every received server line, coloured and time-stamped. It exists for the
// whole run and keeps logging while hidden; closing it only hides it.
class TConsoleForm : public QWidget {
    Q_OBJECT
public:
    explicit TConsoleForm(QWidget* parent = nullptr);
    void AddToLog(const LogEntry& entry);

private:
    QTextEdit* logMemo_;
};

}  // namespace tesk
