#pragma once

#include <QWidget>

#include "ui/BoundedTranscript.h"
#include "watch/RemoteTextLimits.h"

class QTextEdit;

namespace tesk {

// One user's statistics: a bold heading per product, the record lines indented below.
// Shown when made; closing destroys it, and the next reply opens a new, empty one.
class StatsForm : public QWidget {
    Q_OBJECT
public:
    StatsForm(const QString& userName, const RemoteTextLimits& limits, QWidget* parent = nullptr);

    void addHeading(const QString& heading);  // after an empty line unless it is the first
    void addLine(const QString& line);
    QString text() const;

private:
    QTextEdit* statsMemo_;
    BoundedTranscript transcript_;
};

}  // namespace tesk
