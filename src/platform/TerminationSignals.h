#pragma once

#include <QObject>

class QSocketNotifier;

namespace tesk {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so that the program can
// end the way its Exit command does (saving everything) instead of dying mid-way.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tesk
