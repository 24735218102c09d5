#pragma once
// The port connection: opening and closing the port at the operator's request, the
// description line of the open port, Data/portp.dat, pointing COM n at a device, and
// what the log says when the device goes away and comes back.

#include <functional>
#include <string>
#include <vector>

#include "localisation/lang.h"
#include "serial/com_port.h"
#include "serial/reconnect.h"
#include "state/common_datas.h"

namespace zav {

// The port connection controls of the main window.
class IPortView {
public:
    virtual ~IPortView() = default;
    // Caption of PanelPortProp: the port description, or empty while closed.
    virtual void SetPortDescription(const std::string& text) = 0;
    // Open Port / Close Port buttons, the "Port settings" menu item and, when the
    // port properties dialog exists, its data-bits group.
    virtual void UpdatePortControls(bool open) = 0;
};

// Why a port did not open, in the operator's words; "other" gives the system's own text.
std::string PortErrorReason(const TLang& lang, const TPortError& error);

class TPortConnection {
public:
    // Both may be called from any thread; they bring the text to the main thread.
    using TLog = std::function<void(const std::string& line, bool red)>;
    using TShowMessage = std::function<void(const std::string& text)>;

    // view may be null. Wires the reconnect's reports to the log.
    TPortConnection(TComPort& port, TReconnect& reconnect, const TCommonDatas& datas,
                    const TLang& lang, IPortView* view, TLog log, TShowMessage showMessage);
    TPortConnection(const TPortConnection&) = delete;
    TPortConnection& operator=(const TPortConnection&) = delete;

    void LoadPortSettings();
    // The reading of Data/portp.dat's lines, once they are read.
    void ApplyPortSettingsLines(const std::vector<std::string>& lines);
    void SavePortSettings();
    void btnOpenPortClick();
    void btnClosePortClick();
    void UpdatePortControls();
    std::string PortInfo() const;
    // The bottom line of an open port: the description above, its device and speed.
    std::string PortDescription() const;
    // The device COM n stands for (the target of its link on Linux).
    std::string PortDevicePath() const;
    // After the port properties were changed: a setting the line refused is reported,
    // and the bottom line shows what is in force.
    void PortSettingsChanged();
    // Shows the bottom line of an open port again (in the language now in force).
    void RefreshDescription();
    // Makes COM n the given device (on Linux, the link ports/COM<n>); false, with the
    // reason shown, when it cannot.
    bool PointPortAt(int n, const std::string& device);
    // Main thread, once the device went away while open: says so, shows the port
    // closed, and waits for the device to come back.
    // Called once the lost device is back and its port open again.
    std::function<void()> OnReconnected;
    void PortLost();

private:
    std::string BaudText() const;
    // "9600 baud; 8 data bits; ..." of the open port, for the log.
    std::string LineSettingsText() const;
    void WireReconnect();

    TComPort& port_;
    TReconnect& reconnect_;
    const TCommonDatas& datas_;
    const TLang& lang_;
    IPortView* view_;
    TLog log_;
    TShowMessage showMessage_;
};

} // namespace zav
