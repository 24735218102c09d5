#pragma once
// A periodic tick on the main thread, for work that has to look again later (a device
// that may come back). The GUI implements it with a Qt timer; tests tick it by hand.

#include <functional>

namespace zav {

class ITimer {
public:
    virtual ~ITimer() = default;
    // Calls onTick on the main thread every intervalMs until Stop; a new Start replaces
    // the running one.
    virtual void Start(int intervalMs, std::function<void()> onTick) = 0;
    virtual void Stop() = 0;
};

} // namespace zav
