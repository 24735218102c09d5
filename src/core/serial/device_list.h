#pragma once
// The serial devices present, with what the system knows of them, so that an operator
// can choose a port by its device instead of guessing a number. On Linux COM n is the
// device the link ports/COM<n> points to; choosing a device for COM n makes that link.

#include <string>
#include <utility>
#include <vector>

namespace zav {

struct TSerialDevice {
    std::string Path;         // /dev/ttyUSB0, or COM3 on Windows
    std::string ById;         // /dev/serial/by-id/... naming it, if any
    std::string VendorId;     // USB idVendor, hex
    std::string ProductId;    // USB idProduct, hex
    std::string Serial;       // USB serial number string, if the device has one
    std::string Manufacturer; // USB strings, or the Windows driver's device name
    std::string Product;
    std::string Driver;

    // One line for a list: the path and what is known of the device.
    // The generic serial port driver of Linux is named "port": portWord stands for it in
    // the operator's language.
    std::string Description(const std::string& portWord = "port") const;
};

// Linux: the ttyUSB, ttyACM and (with a UART) ttyS devices of root's sysfs and /dev,
// in name order. root is "/" but for tests, which give a tree of their own.
std::vector<TSerialDevice> ListSerialDevicesIn(const std::string& root);
// Windows: the values of HARDWARE\DEVICEMAP\SERIALCOMM (driver device name, port name),
// in COM-number order.
std::vector<TSerialDevice>
ParseSerialCommMap(const std::vector<std::pair<std::string, std::string>>& values);
// The devices of this system.
std::vector<TSerialDevice> ListSerialDevices();

// Points portsDir/COM<n> at device, replacing a link that is there (never a file that is
// not a link). On failure returns false with the reason in error.
bool LinkPortToDevice(const std::string& portsDir, int n, const std::string& device,
                      std::string& error);
// The COM number whose link in portsDir points at device, 0 if none.
int LinkedPortNumber(const std::string& portsDir, const std::string& device);

} // namespace zav
