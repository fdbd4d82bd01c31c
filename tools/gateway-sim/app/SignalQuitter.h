#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a clean QCoreApplication::quit(): the handler only writes
// a byte to a pipe, and the event loop does the rest.
class SignalQuitter : public QObject {
    Q_OBJECT

public:
    explicit SignalQuitter(QObject* parent = nullptr);
    ~SignalQuitter() override;

    bool install(QString* error);  // one per process

private:
    static void onSignal(int signal);

    QSocketNotifier* notifier_ = nullptr;
};
