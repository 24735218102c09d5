// Opening and closing the port, its description line and Data/portp.dat.

#include <exception>

#include "controller/controller.h"
#include "serial/device_list.h"
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

void TController::LoadPortSettings() {
    const std::string fileName = PortSettingsFileName();
    bool read = false;
    try {
        const auto lines = LoadLines(fileName, true);
        std::int32_t number = 0;
        // Port 0 or a number beyond the range can never be opened: treat it as damage.
        if (!lines.empty() && TryParseInt(lines[0], number) && ValidPortNumber(number)) {
            port_->SetPortNumber(static_cast<std::uint32_t>(number));
            read = true;
        }
    } catch (const std::exception&) {
    }
    if (!read)
        Log(lang_->Message(msgPortFileMissing) + fileName + lang_->Message(msgPortFileMissingEnd),
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
    try {
        port_->Close();
        port_->Open();
    } catch (const std::exception&) {
        // A backend failure is reported like any port that does not open.
    }
    if (port_->Connected()) {
        if (views_.PortView)
            views_.PortView->SetPortDescription(lang_->Message(3) + PortInfo());
        port_->SetReceiving(true);
    } else {
        ShowMessage(lang_->Message(4));
    }
    UpdatePortControls();
}

void TController::btnClosePortClick() {
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
