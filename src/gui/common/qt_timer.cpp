#include "common/qt_timer.h"

namespace zav {

TQtTimer::TQtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTick_)
            onTick_();
    });
}

void TQtTimer::Start(int intervalMs, std::function<void()> onTick) {
    timer_.stop();
    onTick_ = std::move(onTick);
    timer_.start(intervalMs);
}

void TQtTimer::Stop() {
    timer_.stop();
}

} // namespace zav
