#pragma once
// The core's periodic tick, on the GUI thread.

#include <QTimer>

#include "serial/timer.h"

namespace zav {

class TQtTimer : public ITimer {
public:
    TQtTimer();
    void Start(int intervalMs, std::function<void()> onTick) override;
    void Stop() override;

private:
    QTimer timer_;
    // Kept after Stop: Stop may be called from within the tick itself.
    std::function<void()> onTick_;
};

} // namespace zav
