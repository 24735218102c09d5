// Opening and closing the port, its description line and Data/portp.dat.

#include "controller/port_connection.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>
#include <utility>

#include "serial/device_list.h"
#include "settings/settings_table.h"
#include "state/number_format.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

namespace {
std::string PortSettingsFileName() {
    return DataDir() + "Data/portp.dat";
}

bool ValidPortNumber(std::int64_t number) {
    return number >= 1 && number <= 255;
}
} // namespace

std::string PortErrorReason(const TLang& lang, const TPortError& error) {
    switch (error.Kind) {
    case EPortError::NoSuchDevice:
        return lang.Message(msgNoSuchDevice);
    case EPortError::Busy:
        return lang.Message(msgDeviceBusy);
    case EPortError::NoPermission:
        return lang.Message(msgNoPermission);
    case EPortError::UnsupportedSetting:
        return lang.Message(msgNotSerialDevice);
    case EPortError::Other:
    case EPortError::None:
        break;
    }
    return error.SystemText;
}

TPortConnection::TPortConnection(TComPort& port, TReconnect& reconnect, const TCommonDatas& datas,
                                 const TLang& lang, IPortView* view, TLog log,
                                 TShowMessage showMessage)
    : port_(port), reconnect_(reconnect), datas_(datas), lang_(lang), view_(view),
      log_(std::move(log)), showMessage_(std::move(showMessage)) {
    WireReconnect();
}

void TPortConnection::LoadPortSettings() {
    std::vector<std::string> lines;
    try {
        lines = LoadSettingsLines(PortSettingsFileName());
    } catch (const std::exception&) {
    }
    ApplyPortSettingsLines(lines);
}

void TPortConnection::ApplyPortSettingsLines(const std::vector<std::string>& lines) {
    std::int32_t number = 0;
    // Port 0 or a number beyond the range can never be opened: treat it as damage.
    if (!lines.empty() && TryParseInt(lines[0], number) && ValidPortNumber(number))
        port_.SetPortNumber(static_cast<std::uint32_t>(number));
    else
        log_(lang_.Message(msgPortFileMissing) + PortSettingsFileName() +
                 lang_.Message(msgPortFileMissingEnd),
             true);
    // The line settings are not stored: every run starts with 9600 baud, 8E1.
    port_.SetDataBits(3);
    port_.SetStopBits(0);
    port_.SetParity(2);
    port_.SetBaudIndex(6);
}

void TPortConnection::SavePortSettings() {
    // The file keeps the last port that could be opened, or stays as it is.
    const std::uint32_t number = port_.PortNumber();
    if (ValidPortNumber(static_cast<std::int64_t>(number)))
        SaveLines(PortSettingsFileName(), {std::to_string(number)}, true);
}

void TPortConnection::btnOpenPortClick() {
    reconnect_.End();
    TPortError error;
    try {
        port_.Close();
        error = port_.Open();
    } catch (const std::exception& e) {
        // A backend failure is reported like any port that does not open.
        error = {EPortError::Other, e.what()};
    }
    const std::string device = PortDevicePath();
    if (port_.Connected()) {
        if (view_)
            view_->SetPortDescription(PortDescription());
        port_.SetReceiving(true);
        reconnect_.Opened();
        log_("Com" + std::to_string(port_.PortNumber()) + " (" + device + ")" +
                 lang_.Message(msgPortOpenedLog) + LineSettingsText(),
             false);
    } else {
        showMessage_(lang_.Message(msgPortOpenError) + ": " + PortErrorReason(lang_, error) + " (" +
                     device + ")");
    }
    UpdatePortControls();
}

std::string TPortConnection::PortDevicePath() const {
    const std::string name = port_.DevicePath();
#ifndef _WIN32
    // COM n is usually a link: the device it points to is what the operator knows.
    std::error_code ec;
    const auto target = std::filesystem::read_symlink(name, ec);
    if (!ec)
        return target.is_absolute() ? target.string()
                                    : (std::filesystem::path(name).parent_path() / target)
                                          .lexically_normal()
                                          .string();
#endif
    return name;
}

std::string TPortConnection::BaudText() const {
    const auto index = port_.BaudIndex();
    return (index < std::size(BaudRates) ? std::to_string(BaudRates[index]) : std::string("?")) +
           lang_.Message(msgBaud);
}

std::string TPortConnection::LineSettingsText() const {
    const std::string info = PortInfo();
    return BaudText() + "; " + info.substr(std::min(info.find(";  ") + 3, info.size()));
}

void TPortConnection::WireReconnect() {
    reconnect_.Enabled = [this] { return datas_.ReconnectLostDevice; };
    const auto port = [this](const TDeviceIdentity& device) {
        return "Com" + std::to_string(port_.PortNumber()) + " (" + device.Path + ")";
    };
    reconnect_.OnWaiting = [this, port](const TDeviceIdentity& lost) {
        log_(port(lost) + lang_.Message(msgReconnectWaiting), false);
    };
    reconnect_.OnOtherDevice = [this, port](const TDeviceIdentity& now,
                                            const TDeviceIdentity& lost) {
        log_(port(now) + lang_.Message(msgReconnectOtherDevice) + now.Description() +
                 lang_.Message(msgReconnectOtherDeviceLost) + lost.Description() +
                 lang_.Message(msgReconnectOtherDeviceEnd),
             true);
    };
    reconnect_.OnReconnected = [this, port](const TDeviceIdentity& device) {
        if (view_)
            view_->SetPortDescription(PortDescription());
        log_(port(device) + lang_.Message(msgPortReconnected) + LineSettingsText(), false);
        UpdatePortControls();
        if (OnReconnected)
            OnReconnected();
    };
}

std::string TPortConnection::PortDescription() const {
    return lang_.Message(msgPortLabel) + PortInfo() + "  " + PortDevicePath() + ", " + BaudText();
}

void TPortConnection::PortSettingsChanged() {
    if (port_.TakeRefusal())
        showMessage_(lang_.Message(msgSettingRefused));
    RefreshDescription();
}

void TPortConnection::RefreshDescription() {
    if (port_.Connected() && view_)
        view_->SetPortDescription(PortDescription());
}

void TPortConnection::PortLost() {
    log_(lang_.Message(msgPortLost) + std::to_string(port_.PortNumber()) +
             lang_.Message(msgPortLostEnd),
         true);
    btnClosePortClick();
    reconnect_.Lost();
}

void TPortConnection::btnClosePortClick() {
    reconnect_.End();
    if (port_.Connected())
        log_("Com" + std::to_string(port_.PortNumber()) + lang_.Message(msgPortClosedLog), false);
    port_.Close();
    port_.SetReceiving(false);
    if (view_)
        view_->SetPortDescription("");
    UpdatePortControls();
}

void TPortConnection::UpdatePortControls() {
    if (view_)
        view_->UpdatePortControls(port_.Connected());
}

bool TPortConnection::PointPortAt(int n, const std::string& device) {
#ifdef _WIN32
    // Windows names its ports itself: the device is COM n already.
    (void)n;
    (void)device;
    return true;
#else
    std::string error;
    if (LinkedPortNumber(port_.PortsDir(), device) == n ||
        LinkPortToDevice(port_.PortsDir(), n, device, error))
        return true;
    showMessage_(lang_.Message(msgPortLinkFailed) + error);
    return false;
#endif
}

std::string TPortConnection::PortInfo() const {
    std::string info = "Com" + std::to_string(port_.PortNumber()) + ";  ";
    if (port_.DataBits() <= 3)
        info += std::to_string(port_.DataBits() + 5) + " " + lang_.Message(msgDataBits);
    static const char* const stopBits[] = {" 1;  ", " 1,5;  ", " 2;  "};
    if (port_.StopBits() <= 2)
        info += lang_.Message(msgStopBits) + stopBits[port_.StopBits()];
    if (port_.Parity() <= 4)
        info += lang_.Message(msgParityNone + port_.Parity());
    return info;
}

} // namespace zav
