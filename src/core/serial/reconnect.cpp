#include "serial/reconnect.h"

#include <filesystem>
#include <utility>

#include "serial/device_list.h"

namespace zav {

namespace {
TLineSettings LineSettingsOf(const TComPort& port) {
    return {port.BaudIndex(), port.DataBits(), port.Parity(), port.StopBits()};
}

bool SameSettings(const TLineSettings& a, const TLineSettings& b) {
    return a.BaudIndex == b.BaudIndex && a.DataBits == b.DataBits && a.Parity == b.Parity &&
           a.StopBits == b.StopBits;
}

// All that is known of a device already gone: where its name pointed.
TDeviceIdentity GoneDevice(const std::string& name) {
    TDeviceIdentity id;
    id.Path = name;
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink(name, ec);
    if (!ec)
        id.Path =
            target.is_absolute()
                ? target.string()
                : (std::filesystem::path(name).parent_path() / target).lexically_normal().string();
    return id;
}
} // namespace

std::string TDeviceIdentity::Description() const {
    if (!ById.empty())
        return std::filesystem::path(ById).filename().string();
    if (Usb())
        return "USB " + VendorId + ":" + ProductId + (Serial.empty() ? "" : " " + Serial);
    return Path;
}

bool SameDevice(const TDeviceIdentity& lost, const TDeviceIdentity& now) {
    if (!lost.Usb() && !now.Usb())
        return true;
    if (!lost.ById.empty() && !now.ById.empty())
        return lost.ById == now.ById;
    return lost.VendorId == now.VendorId && lost.ProductId == now.ProductId &&
           lost.Serial == now.Serial;
}

std::optional<TDeviceIdentity> IdentifyDevice(const std::string& name) {
    TDeviceIdentity id;
#ifdef _WIN32
    // \\.\COM3 is there when the system lists COM3.
    const std::string prefix = "\\\\.\\";
    id.Path = name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name;
    for (const TSerialDevice& device : ListSerialDevices())
        if (device.Path == id.Path)
            return id;
    return std::nullopt;
#else
    std::error_code ec;
    const auto path = std::filesystem::canonical(name, ec);
    if (ec)
        return std::nullopt;
    id.Path = path.string();
    for (const TSerialDevice& device : ListSerialDevices())
        if (device.Path == id.Path) {
            id.ById = device.ById;
            id.VendorId = device.VendorId;
            id.ProductId = device.ProductId;
            id.Serial = device.Serial;
        }
    return id;
#endif
}

TReconnect::TReconnect(TComPort& port, TIdentify identify)
    : port_(port), identify_(std::move(identify)) {}

TReconnect::~TReconnect() {
    End();
}

void TReconnect::AttachTimer(ITimer* timer) {
    if (timer_ && watching_)
        timer_->Stop();
    timer_ = timer;
    if (timer_ && watching_)
        timer_->Start(CheckInterval, [this] { Check(); });
}

void TReconnect::Opened() {
    End();
    name_ = port_.DevicePath();
    opened_ = identify_(name_);
}

void TReconnect::Lost() {
    End();
    if (!Enabled || !Enabled())
        return;
    const std::string name = port_.DevicePath();
    // Opened by some other way than Opened: what is still there is the best guess.
    if (name != name_ || !opened_)
        opened_ = identify_(name);
    name_ = name;
    lost_ = opened_ ? *opened_ : GoneDevice(name);
    settings_ = LineSettingsOf(port_);
    otherReported_ = false;
    watching_ = true;
    if (OnWaiting)
        OnWaiting(lost_);
    if (timer_)
        timer_->Start(CheckInterval, [this] { Check(); });
}

void TReconnect::End() {
    if (!watching_)
        return;
    watching_ = false;
    if (timer_)
        timer_->Stop();
}

void TReconnect::Check() {
    if (!watching_)
        return;
    if (!Enabled || !Enabled() || port_.Connected() || port_.DevicePath() != name_ ||
        !SameSettings(LineSettingsOf(port_), settings_)) {
        End();
        return;
    }
    const std::optional<TDeviceIdentity> now = identify_(name_);
    if (!now)
        return; // not back yet
    if (!SameDevice(lost_, *now)) {
        if (!std::exchange(otherReported_, true) && OnOtherDevice)
            OnOtherDevice(*now, lost_);
        return;
    }
    try {
        port_.Open();
    } catch (const std::exception&) {
    }
    // Just plugged in, a device may not yet be usable (its permissions are still being
    // set, another program grabbed it): look again at the next tick.
    if (!port_.Connected())
        return;
    port_.SetReceiving(true);
    End();
    opened_ = now;
    if (OnReconnected)
        OnReconnected(*now);
}

} // namespace zav
