#pragma once

#include <QObject>

// Turns SIGTERM and SIGHUP into a Qt signal on the GUI thread, so the program can end the way
// a log-off ends it (settings saved) instead of dying. One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
};
