#include "serial/com_port.h"

#include <filesystem>
#include <utility>

#include "serial/com_port_backend.h"
#include "state/paths.h"

namespace zav {

TComPort::TComPort(IDispatcher& dispatcher)
    : dispatcher_(dispatcher), backend_(TBackend::Create(*this, dispatcher)) {}

TComPort::~TComPort() {
    Close();
}

bool TComPort::Connected() const {
    return backend_->Connected();
}

TPortError TComPort::Open() {
    if (Connected())
        return {};
    TPortError error = backend_->Open(DevicePath(), inBufSize_);
    if (!error)
        ApplySettings();
    return error;
}

void TComPort::Close() {
    // Also releases a port that went away by itself.
    backend_->Close();
}

void TComPort::SetReceiving(bool on) {
    backend_->SetReceiving(on);
}

void TComPort::ApplySettings() {
    if (Connected())
        backend_->Apply(settings_);
}

void TComPort::ChangeSetting(std::uint8_t TLineSettings::*field, std::uint8_t value) {
    if (settings_.*field == value)
        return;
    // A combination the line refuses leaves it, and what this object says of it, as it was.
    const TLineSettings before = settings_;
    settings_.*field = value;
    if (Connected() && !backend_->Apply(settings_)) {
        settings_ = before;
        refused_ = true;
    }
}

bool TComPort::TakeRefusal() {
    return std::exchange(refused_, false);
}

void TComPort::SetPortNumber(std::uint32_t n) {
    if (n == portNumber_)
        return;
    if (Connected()) {
        Close();
        portNumber_ = n;
        Open();
    } else {
        portNumber_ = n;
    }
}

void TComPort::SetBaudIndex(std::uint8_t value) {
    ChangeSetting(&TLineSettings::BaudIndex, value);
}

void TComPort::SetDataBits(std::uint8_t value) {
    ChangeSetting(&TLineSettings::DataBits, value);
}

void TComPort::SetParity(std::uint8_t value) {
    ChangeSetting(&TLineSettings::Parity, value);
}

void TComPort::SetStopBits(std::uint8_t value) {
    ChangeSetting(&TLineSettings::StopBits, value);
}

void TComPort::SetInBufSize(std::uint32_t n) {
    // The receive thread's buffer is sized once, when the port opens.
    if (n != 0 && !Connected())
        inBufSize_ = n;
}

bool TComPort::Write(const void* buffer, std::size_t count) {
    if (buffer == nullptr)
        return false;
    return backend_->Write(buffer, count);
}

bool TComPort::SendString(const std::string& text) {
    return Write(text.data(), text.size());
}

std::size_t TComPort::TryWrite(const void* buffer, std::size_t count) {
    if (buffer == nullptr || count == 0)
        return 0;
    return backend_->TryWrite(buffer, count);
}

std::string TComPort::PortsDir() const {
    return portsDir_.empty() ? DataDir() + "ports" : portsDir_;
}

std::string TComPort::DevicePath() const {
    return devicePath_.empty() ? DeviceName(portNumber_, PortsDir()) : devicePath_;
}

std::string TComPort::DeviceName(std::uint32_t n, const std::string& portsDir) {
#ifdef _WIN32
    (void)portsDir;
    return "\\\\.\\COM" + std::to_string(n);
#else
    // A link that points nowhere is still the operator's choice: opening it fails rather
    // than silently falling back to another device.
    std::error_code ec;
    const auto link = std::filesystem::path(portsDir) / ("COM" + std::to_string(n));
    if (!portsDir.empty() && std::filesystem::exists(std::filesystem::symlink_status(link, ec)))
        return link.string();
    if (n == 0)
        return {}; // there is no COM0
    return "/dev/ttyS" + std::to_string(n - 1);
#endif
}

} // namespace zav
