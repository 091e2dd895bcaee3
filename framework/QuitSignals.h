#pragma once
// The signals with which the system asks the program to end (SIGTERM: a logout or `kill`; SIGINT:
// Ctrl+C in its terminal; SIGHUP: its terminal gone), brought into the event loop: the handler
// only writes the signal's number into a pipe whose other end the loop watches, so that the
// program ends its normal way, from the loop, and nothing else runs inside the handler. A second
// signal of the same kind, should the program not have ended by then, ends it the system's way.

#include <QObject>
#include <memory>

class QSocketNotifier;

class TQuitSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; one such object at a time.
    explicit TQuitSignals(QObject* parent = nullptr);
    // The handlers before it come back.
    ~TQuitSignals() override;

signals:
    // In the event loop, once for each signal that came.
    void Received(int signal);

private:
    void Read();

    std::unique_ptr<QSocketNotifier> notifier_;
};
