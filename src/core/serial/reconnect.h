#pragma once
// Reopens a port whose device went away once the same device is back, with the line
// settings it had. What the device is gets remembered when the port opens, because a
// pulled-out adapter has usually left the system by the time its loss is handled.

#include <functional>
#include <optional>
#include <string>

#include "serial/com_port.h"
#include "serial/timer.h"

namespace zav {

// What is behind a port's device name at one moment.
struct TDeviceIdentity {
    std::string Path;     // the device the name leads to: /dev/ttyUSB0, /dev/pts/3, COM3
    std::string ById;     // /dev/serial/by-id/... naming it, if any
    std::string VendorId; // USB, if it is a USB device
    std::string ProductId;
    std::string Serial;

    bool Usb() const { return !VendorId.empty(); }
    // For the operator: the by-id name, else the USB ids, else the path.
    std::string Description() const;
};

// Whether now is the device that was lost. A USB device is known by its by-id name when
// both have one (it tells the ports of a multi-port adapter apart), else by vendor,
// product and serial number. A built-in UART or a pseudo-terminal carries nothing of
// its own: the port's name (its COM link or device path) is all there is to go by, so
// any such device there counts as the same, but never a USB device in its place.
bool SameDevice(const TDeviceIdentity& lost, const TDeviceIdentity& now);

// The device behind name (a ports/COM<n> link, a device path) on this system; empty
// when there is none (not plugged in, a link that points nowhere).
std::optional<TDeviceIdentity> IdentifyDevice(const std::string& name);

class TReconnect {
public:
    using TIdentify = std::function<std::optional<TDeviceIdentity>(const std::string& name)>;
    // How often a lost device is looked for.
    static constexpr int CheckInterval = 500; // ms

    explicit TReconnect(TComPort& port, TIdentify identify = IdentifyDevice);
    ~TReconnect();
    TReconnect(const TReconnect&) = delete;
    TReconnect& operator=(const TReconnect&) = delete;

    // The timer that calls Check while a device is awaited; without one, only explicit
    // Check calls look. It must outlive this object or be detached first.
    void AttachTimer(ITimer* timer);

    // Whether a lost device is to be awaited at all (the program setting).
    std::function<bool()> Enabled;
    // The watch began; lost is what is awaited.
    std::function<void(const TDeviceIdentity& lost)> OnWaiting;
    // Another device appeared where the lost one was; it is left closed. Once a watch.
    std::function<void(const TDeviceIdentity& now, const TDeviceIdentity& lost)> OnOtherDevice;
    // The port is open and receiving again.
    std::function<void(const TDeviceIdentity& device)> OnReconnected;

    // Main thread. The operator opened the port: remember what it is, end any watch.
    void Opened();
    // The port was lost (and is closed): wait for its device, if Enabled.
    void Lost();
    // The operator closed or chose a port meanwhile: nothing is awaited any more.
    void End();
    // Looks once: reopens the port if its device is back. The watch also ends when the
    // port was opened, renamed or given other line settings meanwhile, or the setting
    // was turned off.
    void Check();

    bool Watching() const { return watching_; }

private:
    TComPort& port_;
    TIdentify identify_;
    ITimer* timer_ = nullptr;
    std::optional<TDeviceIdentity> opened_; // what the port was when last opened
    // The watch; main thread only.
    bool watching_ = false;
    bool otherReported_ = false;
    TDeviceIdentity lost_;
    std::string name_;
    TLineSettings settings_;
};

} // namespace zav
