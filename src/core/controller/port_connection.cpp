// Opening and closing the port, its description line and Data/portp.dat.

#include <algorithm>
#include <exception>
#include <filesystem>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "controller/controller.h"
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

// Why a device that did not open did not, as far as can be told from outside.
int OpenFailureMessage(const std::string& device) {
#ifdef _WIN32
    (void)device;
    return msgDeviceBusy;
#else
    if (device.empty() || ::access(device.c_str(), F_OK) != 0)
        return msgNoSuchDevice;
    if (::access(device.c_str(), R_OK | W_OK) != 0)
        return msgNoPermission;
    return msgDeviceBusy;
#endif
}
} // namespace

void TController::LoadPortSettings() {
    std::vector<std::string> lines;
    try {
        lines = LoadSettingsLines(PortSettingsFileName());
    } catch (const std::exception&) {
    }
    ApplyPortSettingsLines(lines);
}

void TController::ApplyPortSettingsLines(const std::vector<std::string>& lines) {
    std::int32_t number = 0;
    // Port 0 or a number beyond the range can never be opened: treat it as damage.
    if (!lines.empty() && TryParseInt(lines[0], number) && ValidPortNumber(number))
        port_->SetPortNumber(static_cast<std::uint32_t>(number));
    else
        Log(lang_->Message(msgPortFileMissing) + PortSettingsFileName() +
                lang_->Message(msgPortFileMissingEnd),
            true);
    // The line settings are not stored: every run starts with 9600 baud, 8E1.
    port_->SetDataBits(3);
    port_->SetStopBits(0);
    port_->SetParity(2);
    port_->SetBaudIndex(6);
}

void TController::SavePortSettings() {
    // The file keeps the last port that could be opened, or stays as it is.
    const std::uint32_t number = port_->PortNumber();
    if (ValidPortNumber(static_cast<std::int64_t>(number)))
        SaveLines(PortSettingsFileName(), {std::to_string(number)}, true);
}

void TController::btnOpenPortClick() {
    reconnect_->End();
    try {
        port_->Close();
        port_->Open();
    } catch (const std::exception&) {
        // A backend failure is reported like any port that does not open.
    }
    const std::string device = PortDevicePath();
    if (port_->Connected()) {
        if (views_.PortView)
            views_.PortView->SetPortDescription(PortDescription());
        port_->SetReceiving(true);
        reconnect_->Opened();
        Log("Com" + std::to_string(port_->PortNumber()) + " (" + device + ")" +
            lang_->Message(msgPortOpenedLog) + LineSettingsText());
    } else {
        ShowMessage(lang_->Message(4) + ": " + lang_->Message(OpenFailureMessage(device)) + " (" +
                    device + ")");
    }
    UpdatePortControls();
}

std::string TController::PortDevicePath() const {
    const std::string name = port_->DevicePath();
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

std::string TController::BaudText() const {
    const auto index = port_->BaudIndex();
    return (index < std::size(BaudRates) ? std::to_string(BaudRates[index]) : std::string("?")) +
           lang_->Message(msgBaud);
}

std::string TController::LineSettingsText() const {
    const std::string info = PortInfo();
    return BaudText() + "; " + info.substr(std::min(info.find(";  ") + 3, info.size()));
}

void TController::WireReconnect() {
    reconnect_->Enabled = [this] { return commonDatas_->ReconnectLostDevice; };
    const auto port = [this](const TDeviceIdentity& device) {
        return "Com" + std::to_string(port_->PortNumber()) + " (" + device.Path + ")";
    };
    reconnect_->OnWaiting = [this, port](const TDeviceIdentity& lost) {
        Log(port(lost) + lang_->Message(msgReconnectWaiting));
    };
    reconnect_->OnOtherDevice = [this, port](const TDeviceIdentity& now,
                                             const TDeviceIdentity& lost) {
        Log(port(now) + lang_->Message(msgReconnectOtherDevice) + now.Description() +
                lang_->Message(msgReconnectOtherDeviceLost) + lost.Description() +
                lang_->Message(msgReconnectOtherDeviceEnd),
            true);
    };
    reconnect_->OnReconnected = [this, port](const TDeviceIdentity& device) {
        if (views_.PortView)
            views_.PortView->SetPortDescription(PortDescription());
        Log(port(device) + lang_->Message(msgPortReconnected) + LineSettingsText());
        UpdatePortControls();
    };
}

std::string TController::PortDescription() const {
    return lang_->Message(3) + PortInfo() + "  " + PortDevicePath() + ", " + BaudText();
}

void TController::PortSettingsChanged() {
    if (port_->TakeRefusal())
        ShowMessage(lang_->Message(msgSettingRefused));
    if (port_->Connected() && views_.PortView)
        views_.PortView->SetPortDescription(PortDescription());
}

void TController::btnClosePortClick() {
    reconnect_->End();
    if (port_->Connected())
        Log("Com" + std::to_string(port_->PortNumber()) + lang_->Message(msgPortClosedLog));
    port_->Close();
    port_->SetReceiving(false);
    if (views_.PortView)
        views_.PortView->SetPortDescription("");
    UpdatePortControls();
}

void TController::UpdatePortControls() {
    if (views_.PortView)
        views_.PortView->UpdatePortControls(port_->Connected());
}

bool TController::PointPortAt(int n, const std::string& device) {
#ifdef _WIN32
    // Windows names its ports itself: the device is COM n already.
    (void)n;
    (void)device;
    return true;
#else
    std::string error;
    if (LinkedPortNumber(port_->PortsDir(), device) == n ||
        LinkPortToDevice(port_->PortsDir(), n, device, error))
        return true;
    ShowMessage(lang_->Message(msgPortLinkFailed) + error);
    return false;
#endif
}

std::string TController::PortInfo() const {
    std::string info = "Com" + std::to_string(port_->PortNumber()) + ";  ";
    if (port_->DataBits() <= 3)
        info += std::to_string(port_->DataBits() + 5) + " " + lang_->Message(5);
    static const char* const stopBits[] = {" 1;  ", " 1,5;  ", " 2;  "};
    if (port_->StopBits() <= 2)
        info += lang_->Message(6) + stopBits[port_->StopBits()];
    if (port_->Parity() <= 4)
        info += lang_->Message(7 + port_->Parity());
    return info;
}

} // namespace zav
