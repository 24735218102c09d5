// Reopening a lost port: which device counts as the lost one, and what ends the watch.
// The port is real (a pseudo-terminal as COM 1); what the system says is behind it is
// the row's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "pty_peer.h"
#include "serial/reconnect.h"

namespace zav {
namespace {

using test::ManualTimer;
using test::TempFolder;
using test::TPtyPeer;

TDeviceIdentity Usb(const char* byId, const char* serial) {
    return {"/dev/ttyUSB0", byId, "0403", "6001", serial};
}
TDeviceIdentity Plain(const char* path) {
    return {path, "", "", "", ""};
}

TEST(Reconnect, SameDeviceAndWhatEndsTheWatch) {
    const TDeviceIdentity ftdi = Usb("/dev/serial/by-id/usb-FTDI_A1-if00", "A1");
    TDeviceIdentity otherPort = ftdi; // the second port of the same adapter
    otherPort.ById = "/dev/serial/by-id/usb-FTDI_A1-if01";
    TDeviceIdentity noById = ftdi;
    noById.ById.clear();
    noById.Path = "/dev/ttyUSB3"; // came back under another number
    TDeviceIdentity otherProduct = noById;
    otherProduct.ProductId = "6015";
    TDeviceIdentity noSerial = noById;
    noSerial.Serial.clear();

    struct Row {
        const char* name;
        TDeviceIdentity was;
        TDeviceIdentity now;
        bool enabled;
        std::function<void(TComPort&, TReconnect&, bool& enabled)> meanwhile;
        bool reopened;
        std::vector<std::string> events;
    };
    const auto nothing = [](TComPort&, TReconnect&, bool&) {};
    const std::vector<Row> rows = {
        {"same by-id name", ftdi, ftdi, true, nothing, true, {"waiting", "reconnected"}},
        {"same USB ids and serial", ftdi, noById, true, nothing, true, {"waiting", "reconnected"}},
        {"other port of the adapter", ftdi, otherPort, true, nothing, false, {"waiting", "other"}},
        {"other product", ftdi, otherProduct, true, nothing, false, {"waiting", "other"}},
        {"no serial number", ftdi, noSerial, true, nothing, false, {"waiting", "other"}},
        {"a terminal where the adapter was",
         ftdi,
         Plain("/dev/pts/9"),
         true,
         nothing,
         false,
         {"waiting", "other"}},
        {"a USB adapter where a terminal was",
         Plain("/dev/pts/3"),
         ftdi,
         true,
         nothing,
         false,
         {"waiting", "other"}},
        {"a terminal again, new number",
         Plain("/dev/pts/3"),
         Plain("/dev/pts/4"),
         true,
         nothing,
         true,
         {"waiting", "reconnected"}},
        {"option off", ftdi, ftdi, false, nothing, false, {}},
        {"option turned off meanwhile",
         ftdi,
         ftdi,
         true,
         [](TComPort&, TReconnect&, bool& enabled) { enabled = false; },
         false,
         {"waiting"}},
        {"line settings changed meanwhile",
         ftdi,
         ftdi,
         true,
         [](TComPort& port, TReconnect&, bool&) { port.SetParity(0); },
         false,
         {"waiting"}},
        {"another port chosen meanwhile",
         ftdi,
         ftdi,
         true,
         [](TComPort& port, TReconnect&, bool&) { port.SetPortNumber(2); },
         false,
         {"waiting"}},
        {"port closed by the operator",
         ftdi,
         ftdi,
         true,
         [](TComPort&, TReconnect& r, bool&) { r.End(); },
         false,
         {"waiting"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        TPtyPeer peer;
        peer.Link(dir.Path() / "ports", 1);
        peer.Link(dir.Path() / "ports", 2);
        TQueueDispatcher dispatcher;
        TComPort port(dispatcher);
        port.SetPortsDir((dir.Path() / "ports").string());
        port.SetPortNumber(1);
        port.SetParity(2);

        std::optional<TDeviceIdentity> there = row.was;
        ManualTimer timer;
        TReconnect reconnect(port, [&](const std::string&) { return there; });
        reconnect.AttachTimer(&timer);
        bool enabled = row.enabled;
        reconnect.Enabled = [&] { return enabled; };
        std::vector<std::string> events;
        reconnect.OnWaiting = [&](const TDeviceIdentity& lost) {
            EXPECT_EQ(lost.Path, row.was.Path);
            events.push_back("waiting");
        };
        reconnect.OnOtherDevice = [&](const TDeviceIdentity& now, const TDeviceIdentity& lost) {
            EXPECT_EQ(now.Path, row.now.Path);
            EXPECT_EQ(lost.Path, row.was.Path);
            events.push_back("other");
        };
        reconnect.OnReconnected = [&](const TDeviceIdentity&) { events.push_back("reconnected"); };

        port.Open();
        ASSERT_TRUE(port.Connected());
        reconnect.Opened();
        there.reset(); // pulled out: what the port was is known from its opening
        port.Close();
        reconnect.Lost();
        EXPECT_EQ(timer.running, row.enabled);
        timer.Tick(); // not back yet
        EXPECT_FALSE(port.Connected());

        row.meanwhile(port, reconnect, enabled);
        there = row.now;
        timer.Tick();
        timer.Tick(); // another device is reported once
        EXPECT_EQ(port.Connected(), row.reopened);
        EXPECT_EQ(events, row.events);
        // Still waiting only while another device stands in the lost one's place.
        EXPECT_EQ(timer.running, !row.reopened && row.events.size() == 2);
    }
}

} // namespace
} // namespace zav
