// The serial port against a real pseudo-terminal: the test holds the master side and a
// second descriptor of the slave, and the port reaches the slave through a COM<n> link.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/com_port.h"
#include "serial/dispatcher.h"
#include "serial/line_settings_posix.h"

namespace zav {
namespace {

constexpr int Deadline = 10000; // ms; generous, the wait ends as soon as it is met
constexpr int Quiet = 200;      // ms in which nothing may arrive

class TPty {
public:
    TPty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master_, 0);
        EXPECT_EQ(::grantpt(master_), 0);
        EXPECT_EQ(::unlockpt(master_), 0);
        char name[128] = {};
        EXPECT_EQ(::ptsname_r(master_, name, sizeof name), 0);
        path_ = name;
        // Opened before the port takes the slave exclusively.
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(slave_, 0);
    }
    ~TPty() {
        CloseMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    TPty(const TPty&) = delete;
    TPty& operator=(const TPty&) = delete;

    const std::string& Path() const { return path_; }
    void CloseMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the port wrote, once n bytes have come.
    std::string Receive(std::size_t n) {
        std::string got;
        while (got.size() < n) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, Deadline) != 1)
                break;
            char buf[4096];
            const ssize_t k = ::read(master_, buf, sizeof buf);
            if (k <= 0)
                break;
            got.append(buf, static_cast<std::size_t>(k));
        }
        return got;
    }
    // Bytes waiting in the slave's input queue, once any have arrived there.
    int QueuedAtSlave() const {
        pollfd p{slave_, POLLIN, 0};
        if (::poll(&p, 1, Deadline) != 1)
            return -1;
        int n = -1;
        ::ioctl(slave_, FIONREAD, &n);
        return n;
    }
    termios SlaveTermios() const {
        termios t{};
        EXPECT_EQ(::tcgetattr(slave_, &t), 0);
        return t;
    }
    void SetSlaveSpeed(speed_t speed) {
        termios t = SlaveTermios();
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        ASSERT_EQ(::tcsetattr(slave_, TCSANOW, &t), 0);
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A queue dispatcher that also lets the test wait until the receive thread has posted.
class TWatchedDispatcher : public IDispatcher {
public:
    void RunAndWait(std::function<void()> fn) override { queue_.RunAndWait(std::move(fn)); }
    void Post(std::function<void()> fn) override {
        queue_.Post(std::move(fn));
        std::lock_guard lock(mutex_);
        ++posts_;
        posted_.notify_all();
    }
    bool WaitPosts(int n) {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, std::chrono::milliseconds(Deadline),
                                [&] { return posts_ >= n; });
    }
    int Posts() {
        std::lock_guard lock(mutex_);
        return posts_;
    }
    bool ProcessUntil(const std::function<bool()>& pred, int ms = Deadline) {
        return queue_.ProcessUntil(pred, ms);
    }
    void Drain() { queue_.Drain(); }

private:
    TQueueDispatcher queue_;
    std::mutex mutex_;
    std::condition_variable posted_;
    int posts_ = 0; // guarded by mutex_
};

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zav_com_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        Link(7, pty_);
        port_.SetPortsDir(dir_);
        port_.SetPortNumber(7);
        port_.OnReceive = [this](const std::uint8_t* buf, std::uint32_t count,
                                 std::uint32_t errors) {
            received_.append(reinterpret_cast<const char*>(buf), count);
            blocks_.push_back(count);
            errors_ |= errors;
            // The rest of the buffer is zero-filled.
            for (std::uint32_t i = count; i < port_.InBufSize(); ++i)
                if (buf[i] != 0)
                    ++dirtyTails_;
        };
        port_.OnPortLost = [this] { ++lost_; };
    }
    void TearDown() override {
        port_.Close();
        std::filesystem::remove_all(dir_);
    }

    void Link(int n, const TPty& pty) {
        const auto link = std::filesystem::path(dir_) / ("COM" + std::to_string(n));
        std::filesystem::remove(link);
        std::filesystem::create_symlink(pty.Path(), link);
    }
    void OpenReceiving() {
        port_.Open();
        ASSERT_TRUE(port_.Connected());
        port_.SetReceiving(true);
    }
    bool ReceivedAtLeast(std::size_t n) {
        return dispatcher_.ProcessUntil([&] { return received_.size() >= n; });
    }
    bool NothingArrives() {
        return !dispatcher_.ProcessUntil([&] { return !received_.empty(); }, Quiet);
    }

    std::string dir_;
    TPty pty_;
    TWatchedDispatcher dispatcher_;
    TComPort port_{dispatcher_};
    std::string received_;
    std::vector<std::uint32_t> blocks_;
    std::uint32_t errors_ = 0;
    int dirtyTails_ = 0;
    int lost_ = 0;
};

TEST_F(ComPortTest, DeviceNameIsTheLinkInThePortsFolderElseTheSerialDevice) {
    std::filesystem::create_symlink(dir_ + "/nowhere", dir_ + "/COM9");
    EXPECT_EQ(TComPort::DeviceName(7, dir_), dir_ + "/COM7");
    // A dangling link is still the operator's choice, not a reason to pick another device.
    EXPECT_EQ(TComPort::DeviceName(9, dir_), dir_ + "/COM9");
    EXPECT_EQ(TComPort::DeviceName(3, dir_), "/dev/ttyS2");
    EXPECT_EQ(TComPort::DeviceName(1, ""), "/dev/ttyS0");
    EXPECT_EQ(TComPort::DeviceName(0, dir_), "");
}

TEST_F(ComPortTest, BurstArrivesInOrderInBlocksOfAtMostInBufSize) {
    OpenReceiving();
    std::string burst;
    for (int i = 0; i < 2500; ++i)
        burst += static_cast<char>('A' + i % 26 + (i / 26) % 5);
    pty_.Send(burst);
    ASSERT_TRUE(ReceivedAtLeast(burst.size()));
    EXPECT_EQ(received_, burst);
    EXPECT_GE(blocks_.size(), 3u);
    for (auto n : blocks_) {
        EXPECT_GE(n, 1u);
        EXPECT_LE(n, 1000u);
    }
    EXPECT_EQ(dirtyTails_, 0);
    EXPECT_EQ(errors_, 0u); // a pseudo-terminal counts no line errors
}

TEST_F(ComPortTest, WaitFullBufferHoldsBytesUntilInBufSizeAreThere) {
    port_.SetInBufSize(10);
    port_.WaitFullBuffer = true;
    OpenReceiving();
    pty_.Send("abcd");
    EXPECT_TRUE(NothingArrives());
    pty_.Send("efghij");
    ASSERT_TRUE(ReceivedAtLeast(10));
    EXPECT_EQ(received_, "abcdefghij");
    EXPECT_EQ(blocks_, std::vector<std::uint32_t>{10});

    pty_.Send("klmnopqrstuvw"); // 13: one full block, three held
    ASSERT_TRUE(ReceivedAtLeast(20));
    EXPECT_TRUE(!dispatcher_.ProcessUntil([&] { return received_.size() > 20; }, Quiet));
    EXPECT_EQ(received_, "abcdefghijklmnopqrst");

    // Held bytes go with the next arrival once the switch is off.
    port_.WaitFullBuffer = false;
    pty_.Send("x");
    ASSERT_TRUE(ReceivedAtLeast(24));
    EXPECT_EQ(received_.substr(20), "uvwx");
}

TEST_F(ComPortTest, InBufSizeChangesOnlyWhileClosedAndNeverToZero) {
    port_.SetInBufSize(0);
    EXPECT_EQ(port_.InBufSize(), 1000u);
    OpenReceiving();
    port_.SetInBufSize(16);
    EXPECT_EQ(port_.InBufSize(), 1000u);
    port_.Close();
    port_.SetInBufSize(16);
    EXPECT_EQ(port_.InBufSize(), 16u);

    // The next Open gives the receive thread a buffer of the new size.
    OpenReceiving();
    pty_.Send(std::string(40, 'z'));
    ASSERT_TRUE(ReceivedAtLeast(40));
    for (auto n : blocks_)
        EXPECT_LE(n, 16u);
    EXPECT_EQ(dirtyTails_, 0);
}

TEST_F(ComPortTest, LineSettingsApplyOnChangeAndRefusalsKeepTheOldOnes) {
    port_.SetBaudIndex(3); // while closed: taken at Open
    port_.Open();
    ASSERT_TRUE(port_.Connected());
    termios t = pty_.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&t), B1200);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);

    // The current value does not rewrite the line: a speed set behind the port's back stays.
    pty_.SetSlaveSpeed(B300);
    port_.SetBaudIndex(3);
    t = pty_.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&t), B300);
    port_.SetBaudIndex(12);
    t = pty_.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&t), B115200);

    port_.SetStopBits(2);
    EXPECT_NE(pty_.SlaveTermios().c_cflag & CSTOPB, 0u);
    EXPECT_FALSE(port_.TakeRefusal());
    port_.SetStopBits(1); // one and a half: refused, two stay, and the port says so
    EXPECT_EQ(port_.StopBits(), 2);
    EXPECT_NE(pty_.SlaveTermios().c_cflag & CSTOPB, 0u);
    EXPECT_TRUE(port_.TakeRefusal());
    EXPECT_FALSE(port_.TakeRefusal());
    port_.SetBaudIndex(7); // 14400: no such speed here, refused
    t = pty_.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&t), B115200);
    EXPECT_EQ(port_.BaudIndex(), 12);
    EXPECT_TRUE(port_.TakeRefusal());
}

TEST(LineTermios, DataBitsParityAndStopBitsMapToControlFlags) {
    // Pseudo-terminals force 8 data bits without parity, so the mapping is checked here.
    struct Row {
        TLineSettings settings;
        tcflag_t expected;
    };
    const Row rows[] = {
        {{6, 0, 0, 0}, CS5},
        {{6, 1, 0, 0}, CS6},
        {{6, 2, 0, 0}, CS7},
        {{6, 3, 0, 0}, CS8},
        {{6, 3, 1, 0}, CS8 | PARENB | PARODD},
        {{6, 3, 2, 0}, CS8 | PARENB},
        {{6, 3, 3, 0}, CS8 | PARENB | CMSPAR | PARODD},
        {{6, 3, 4, 0}, CS8 | PARENB | CMSPAR},
        {{6, 2, 2, 2}, CS7 | PARENB | CSTOPB},
    };
    const tcflag_t mask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    for (const auto& row : rows) {
        termios t{};
        t.c_cflag = CS8 | PARENB | PARODD | CMSPAR | CSTOPB; // stale bits must go
        ASSERT_TRUE(SetLineTermios(row.settings, t));
        EXPECT_EQ(t.c_cflag & mask, row.expected)
            << "data " << int(row.settings.DataBits) << " parity " << int(row.settings.Parity);
        EXPECT_EQ(cfgetospeed(&t), B9600);
    }
    const TLineSettings refused[] = {
        {6, 3, 0, 1},  // one and a half stop bits
        {7, 3, 0, 0},  // 14400
        {10, 3, 0, 0}, // 56000
        {13, 3, 0, 0}, {6, 4, 0, 0}, {6, 3, 5, 0}, {6, 3, 0, 3},
    };
    for (const auto& settings : refused) {
        termios t{};
        t.c_cflag = CS6;
        EXPECT_FALSE(SetLineTermios(settings, t));
        EXPECT_EQ(t.c_cflag, static_cast<tcflag_t>(CS6));
    }
}

TEST_F(ComPortTest, SetPortNumberReopensOnlyForANewNumberAndStaysNotReceiving) {
    TPty other;
    Link(8, other);
    OpenReceiving();
    port_.SetPortNumber(7); // same: still open and receiving
    pty_.Send("one");
    ASSERT_TRUE(ReceivedAtLeast(3));

    port_.SetPortNumber(8);
    EXPECT_TRUE(port_.Connected());
    EXPECT_EQ(port_.PortNumber(), 8u);
    other.Send("two");
    EXPECT_EQ(other.QueuedAtSlave(), 3); // queued, not taken by the new, suspended thread
    EXPECT_TRUE(!dispatcher_.ProcessUntil([&] { return received_.size() > 3; }, Quiet));
    port_.SetReceiving(true);
    ASSERT_TRUE(ReceivedAtLeast(6));
    EXPECT_EQ(received_, "onetwo");

    // COM7 was released.
    TComPort again(dispatcher_);
    again.SetPortsDir(dir_);
    again.SetPortNumber(7);
    again.Open();
    EXPECT_TRUE(again.Connected());
}

TEST_F(ComPortTest, WriteBlocksUntilSentAndFailsAtOnceOnAClosedOrBusyPort) {
    EXPECT_FALSE(port_.SendString("ST1*"));
    EXPECT_FALSE(port_.Write(nullptr, 3));
    port_.Open();
    ASSERT_TRUE(port_.Connected());
    EXPECT_FALSE(port_.Write(nullptr, 3));

    TComPort busy(dispatcher_);
    busy.SetPortsDir(dir_);
    busy.SetPortNumber(7);
    busy.Open();
    EXPECT_FALSE(busy.Connected());
    EXPECT_FALSE(busy.SendString("x"));

    EXPECT_TRUE(port_.SendString("LD1*"));
    EXPECT_EQ(pty_.Receive(4), "LD1*");

    // More than the terminal buffers: Write returns only when the reader has taken it.
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    std::string got;
    std::thread reader([&] { got = pty_.Receive(big.size()); });
    EXPECT_TRUE(port_.Write(big.data(), big.size()));
    reader.join();
    EXPECT_TRUE(got == big);
}

TEST_F(ComPortTest, SuspendedReceivingLeavesBytesQueuedUntilResumed) {
    OpenReceiving();
    port_.SetReceiving(false);
    pty_.Send("queued");
    EXPECT_EQ(pty_.QueuedAtSlave(), 6);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(pty_.QueuedAtSlave(), 6);
    port_.SetReceiving(true);
    ASSERT_TRUE(ReceivedAtLeast(6));
    EXPECT_EQ(received_, "queued");
}

TEST_F(ComPortTest, CloseWhileABlockWaitsForTheMainThreadDropsItWithoutDeadlock) {
    OpenReceiving();
    const int before = dispatcher_.Posts();
    pty_.Send("late");
    // The receive thread now waits for the main thread, which is in Close.
    ASSERT_TRUE(dispatcher_.WaitPosts(before + 1));
    port_.Close();
    EXPECT_FALSE(port_.Connected());
    dispatcher_.Drain();
    EXPECT_TRUE(received_.empty());

    // The handler itself closes the port.
    port_.OnReceive = [this](const std::uint8_t*, std::uint32_t count, std::uint32_t) {
        blocks_.push_back(count);
        port_.Close();
    };
    OpenReceiving();
    pty_.Send("a");
    ASSERT_TRUE(dispatcher_.ProcessUntil([&] { return !blocks_.empty(); }));
    pty_.Send("b");
    dispatcher_.Drain();
    EXPECT_EQ(blocks_.size(), 1u);
    EXPECT_FALSE(port_.Connected());

    // A port destroyed with a block still queued: the queued call must not touch it.
    int calls = 0;
    {
        TComPort gone(dispatcher_);
        gone.SetPortsDir(dir_);
        gone.SetPortNumber(7);
        gone.OnReceive = [&calls](const std::uint8_t*, std::uint32_t, std::uint32_t) { ++calls; };
        gone.Open();
        ASSERT_TRUE(gone.Connected());
        // "b" is still queued at the device; with "c" the thread posts once and waits.
        const int posted = dispatcher_.Posts();
        gone.SetReceiving(true);
        pty_.Send("c");
        ASSERT_TRUE(dispatcher_.WaitPosts(posted + 1));
    }
    dispatcher_.Drain();
    EXPECT_EQ(calls, 0);
}

TEST_F(ComPortTest, PeerHangUpReportsThePortLostOnceAndItCanBeOpenedAgain) {
    for (bool receiving : {true, false}) {
        SCOPED_TRACE(receiving ? "receiving" : "suspended");
        lost_ = 0;
        auto peer = std::make_unique<TPty>();
        Link(7, *peer);
        port_.Open();
        ASSERT_TRUE(port_.Connected());
        port_.SetReceiving(receiving);
        peer->CloseMaster();
        ASSERT_TRUE(dispatcher_.ProcessUntil([&] { return lost_ > 0; }));
        EXPECT_FALSE(port_.Connected());
        EXPECT_FALSE(port_.SendString("x"));
        dispatcher_.Drain();
        EXPECT_EQ(lost_, 1);

        // A new device behind the same number.
        Link(7, pty_);
        OpenReceiving();
        pty_.Send("back");
        ASSERT_TRUE(ReceivedAtLeast(4));
        EXPECT_EQ(received_, "back");
        received_.clear();
        port_.Close();
        dispatcher_.Drain();
        EXPECT_EQ(lost_, 1);
    }
}

} // namespace
} // namespace zav
