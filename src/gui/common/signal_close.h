#pragma once
// SIGTERM and SIGINT (a desktop logging out, Ctrl+C in the terminal that started the
// program) close the program the way its close button does, so that settings and logs
// are saved. The signal handler only writes a byte to a pipe; the close runs on the
// main thread from the event loop.

#include <QObject>
#include <QSocketNotifier>
#include <functional>

namespace zav {

class TSignalCloser : public QObject {
    Q_OBJECT
public:
    // At most one exists at a time; while it does, the two signals call onSignal.
    explicit TSignalCloser(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TSignalCloser() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace zav
