#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "serial/device_list.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAre;

namespace {
// A sysfs and /dev of a machine with a USB adapter, a modem, two ttyS of which one has
// a UART, a by-id link that points nowhere, and a device gone before /dev had it.
void MakeTree(const TempFolder& root) {
    namespace fs = std::filesystem;
    const fs::path base = root.Path();
    const fs::path usb = base / "sys/devices/pci0/usb1/1-1";
    root.Write("sys/devices/pci0/usb1/1-1/idVendor", "0403\n");
    root.Write("sys/devices/pci0/usb1/1-1/idProduct", "6001\n");
    root.Write("sys/devices/pci0/usb1/1-1/manufacturer", "FTDI\n");
    root.Write("sys/devices/pci0/usb1/1-1/product", "USB Serial\n");
    root.Write("sys/devices/pci0/usb1/1-1/serial", "A1\n");
    fs::create_directories(usb / "1-1:1.0/ttyUSB0");
    fs::create_directories(base / "sys/class/tty/ttyUSB0");
    fs::create_symlink(usb / "1-1:1.0", base / "sys/class/tty/ttyUSB0/device");
    fs::create_directories(base / "sys/bus/usb-serial/drivers/ftdi_sio");
    fs::create_symlink(base / "sys/bus/usb-serial/drivers/ftdi_sio", usb / "1-1:1.0/driver");
    fs::create_directories(base / "sys/class/tty/ttyACM0");
    root.Write("sys/class/tty/ttyS0/type", "4\n");
    root.Write("sys/class/tty/ttyS10/type", "4\n");
    root.Write("sys/class/tty/ttyS1/type", "0\n");
    fs::create_directories(base / "sys/class/tty/tty1");
    fs::create_directories(base / "sys/class/tty/ttyUSB9"); // unplugged meanwhile
    for (const char* dev : {"ttyUSB0", "ttyACM0", "ttyS0", "ttyS1", "ttyS10", "tty1"})
        root.Write(std::string("dev/") + dev, "");
    fs::create_directories(base / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", base / "dev/serial/by-id/usb-FTDI_USB_Serial_A1-if00");
    fs::create_symlink("../../ttyUSB7", base / "dev/serial/by-id/usb-gone-if00");
}
} // namespace

TEST(DeviceList, SysfsTreeAndRegistryMap) {
    TempFolder root;
    MakeTree(root);
    std::vector<std::string> seen;
    for (const TSerialDevice& d : ListSerialDevicesIn(root.Path().string()))
        seen.push_back(d.Description());
    EXPECT_THAT(seen, ElementsAre("/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS10",
                                  "/dev/ttyUSB0 (FTDI, USB Serial, USB 0403:6001) - "
                                  "usb-FTDI_USB_Serial_A1-if00"));
    EXPECT_EQ(ListSerialDevicesIn(root.Path().string()).back().Serial, "A1");
    EXPECT_TRUE(ListSerialDevicesIn(root.File("nothing")).empty());

    const auto windows = ParseSerialCommMap({{"\\Device\\VCP0", "COM12"},
                                             {"\\Device\\Serial0", "COM1"},
                                             {"\\Device\\X", "LPT1"},
                                             {"\\Device\\Y", "COMx"},
                                             {"\\Device\\Serial1", "COM2"}});
    std::vector<std::string> ports;
    for (const TSerialDevice& d : windows)
        ports.push_back(d.Description());
    EXPECT_THAT(ports, ElementsAre("COM1 (Serial0)", "COM2 (Serial1)", "COM12 (VCP0)"));
}

TEST(DeviceList, LinkingAPortToADevice) {
    TempFolder dir;
    const std::string ports = dir.File("ports");
    std::string error;
    EXPECT_TRUE(LinkPortToDevice(ports, 3, "/dev/ttyUSB0", error));
    EXPECT_TRUE(LinkPortToDevice(ports, 3, "/dev/ttyACM0", error)); // replaces the link
    EXPECT_EQ(LinkedPortNumber(ports, "/dev/ttyACM0"), 3);
    EXPECT_EQ(LinkedPortNumber(ports, "/dev/ttyUSB0"), 0);
    dir.Write("ports/COM4", "a file");
    EXPECT_FALSE(LinkPortToDevice(ports, 4, "/dev/ttyUSB0", error));
    EXPECT_NE(error.find("COM4"), std::string::npos);
    EXPECT_EQ(dir.Read("ports/COM4"), "a file");
    std::filesystem::permissions(ports, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) { // root writes into a read-only folder anyway
        EXPECT_FALSE(LinkPortToDevice(ports, 5, "/dev/ttyUSB0", error));
        EXPECT_FALSE(error.empty());
    }
}
