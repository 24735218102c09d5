// Reopening a lost port: which device counts as the lost one, and what ends the watch.
// The port is real (a pseudo-terminal as COM 1 and COM 2); what the system says is
// behind it is the row's.

#include <gtest/gtest.h>

#include "fakes.h"
#include "pty_peer.h"
#include "serial/reconnect.h"

namespace zav {
namespace {

TEST(Reconnect, SameDeviceAndWhatEndsTheWatch) {
    const TDeviceIdentity ftdi{"/dev/ttyUSB0", "by-id/usb-FTDI_A1-if00", "0403", "6001", "A1"};
    const TDeviceIdentity secondPort{"/dev/ttyUSB1", "by-id/usb-FTDI_A1-if01", "0403", "6001",
                                     "A1"};
    const TDeviceIdentity renumbered{"/dev/ttyUSB3", "", "0403", "6001", "A1"};
    const TDeviceIdentity otherSerial{"/dev/ttyUSB0", "", "0403", "6001", "B7"};
    const TDeviceIdentity pts3{"/dev/pts/3", "", "", "", ""}, pts4{"/dev/pts/4", "", "", "", ""};
    using TMeanwhile = void (*)(TComPort&, bool& enabled);
    const TMeanwhile nothing = [](TComPort&, bool&) {};
    struct Row {
        const char* name;
        TDeviceIdentity was, now;
        bool enabled;
        TMeanwhile meanwhile;
        std::string events; // w: waiting, o: another device, r: reconnected
    } rows[] = {
        {"same by-id name", ftdi, ftdi, true, nothing, "wr"},
        {"same USB ids and serial", ftdi, renumbered, true, nothing, "wr"},
        {"other port of the adapter", ftdi, secondPort, true, nothing, "wo"},
        {"other serial number", ftdi, otherSerial, true, nothing, "wo"},
        {"a terminal where the adapter was", ftdi, pts3, true, nothing, "wo"},
        {"an adapter where a terminal was", pts3, ftdi, true, nothing, "wo"},
        {"a terminal again, new number", pts3, pts4, true, nothing, "wr"},
        {"option off", ftdi, ftdi, false, nothing, ""},
        {"option turned off meanwhile", ftdi, ftdi, true, [](TComPort&, bool& on) { on = false; },
         "w"},
        {"line settings changed", ftdi, ftdi, true, [](TComPort& p, bool&) { p.SetParity(1); },
         "w"},
        {"another port chosen", ftdi, ftdi, true, [](TComPort& p, bool&) { p.SetPortNumber(2); },
         "w"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempFolder dir;
        test::TPtyPeer peer;
        peer.Link(dir.Path() / "ports", 1);
        peer.Link(dir.Path() / "ports", 2);
        TQueueDispatcher dispatcher;
        TComPort port(dispatcher);
        port.SetPortsDir((dir.Path() / "ports").string());
        port.SetPortNumber(1);
        std::optional<TDeviceIdentity> there = row.was;
        test::ManualTimer timer;
        TReconnect reconnect(port, [&](const std::string&) { return there; });
        reconnect.AttachTimer(&timer);
        bool enabled = row.enabled;
        reconnect.Enabled = [&] { return enabled; };
        std::string events;
        reconnect.OnWaiting = [&](const TDeviceIdentity&) { events += 'w'; };
        reconnect.OnOtherDevice = [&](const TDeviceIdentity&, const TDeviceIdentity&) {
            events += 'o';
        };
        reconnect.OnReconnected = [&](const TDeviceIdentity&) { events += 'r'; };

        port.Open();
        reconnect.Opened();
        there.reset(); // pulled out: what the port was is known from its opening
        port.Close();
        reconnect.Lost();
        timer.Tick();
        EXPECT_FALSE(port.Connected());
        row.meanwhile(port, enabled);
        there = row.now;
        timer.Tick();
        timer.Tick(); // another device is reported once
        EXPECT_EQ(port.Connected(), row.events == "wr");
        EXPECT_EQ(events, row.events);
        EXPECT_EQ(timer.running, row.events == "wo"); // still waiting for the lost one
    }
}

} // namespace
} // namespace zav
