// TComPort on a POSIX terminal device: termios for the line, poll for an event-driven
// receive thread, a self-pipe to wake it.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>
#include <system_error>

#ifdef __linux__
#include <linux/serial.h>
#endif

#include "serial/com_port.h"
#include "serial/line_settings_posix.h"
#include "serial/port_session.h"

namespace zav {

TPortError PortErrorFromSystem(int error) {
    return SortPortError(error, std::generic_category().message(error),
                         {
                             // EIO: a serial device node without its UART.
                             {EPortError::NoSuchDevice, {ENOENT, ENOTDIR, ENODEV, ENXIO, EIO}},
                             // TIOCEXCL, or the lock, of another holder.
                             {EPortError::Busy, {EBUSY, EAGAIN, EWOULDBLOCK}},
                             {EPortError::NoPermission, {EACCES, EPERM, EROFS}},
                             // ENOTTY: not a terminal.
                             {EPortError::UnsupportedSetting, {ENOTTY, EINVAL}},
                         });
}

namespace {

// Wakes a thread blocked in poll.
struct TPipe {
    int r = -1;
    int w = -1;

    TPipe() = default;
    TPipe(const TPipe&) = delete;
    TPipe& operator=(const TPipe&) = delete;
    ~TPipe() {
        if (r >= 0)
            ::close(r);
        if (w >= 0)
            ::close(w);
    }

    bool Make() {
        int fds[2];
        if (::pipe(fds) != 0)
            return false;
        r = fds[0];
        w = fds[1];
        for (int fd : fds) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        }
        return true;
    }
    void Signal() {
        const char c = 1;
        // A full pipe is already readable, which is all a wake-up needs.
        if (::write(w, &c, 1) < 0) {
        }
    }
    void Drain() {
        char buf[64];
        while (::read(r, buf, sizeof buf) > 0) {
        }
    }
};

// Line-error counters of serial drivers that keep them; pseudo-terminals and many USB
// adapters do not, and then the mask stays 0.
struct TLineCounters {
    bool valid = false;
    int frame = 0;
    int parity = 0;
    int overrun = 0;
    int bufOverrun = 0;
    int brk = 0;
};

TLineCounters ReadCounters([[maybe_unused]] int fd) {
    TLineCounters c;
#if defined(__linux__) && defined(TIOCGICOUNT)
    serial_icounter_struct ic{};
    if (::ioctl(fd, TIOCGICOUNT, &ic) == 0)
        c = {true, ic.frame, ic.parity, ic.overrun, ic.buf_overrun, ic.brk};
#endif
    return c;
}

// The errors counted since the last call, as a mask of LineError bits.
std::uint32_t ErrorsSince(TLineCounters& last, int fd) {
    const TLineCounters now = ReadCounters(fd);
    std::uint32_t mask = 0;
    if (now.valid && last.valid) {
        if (now.frame != last.frame)
            mask |= LineErrorFrame;
        if (now.parity != last.parity)
            mask |= LineErrorParity;
        if (now.overrun != last.overrun)
            mask |= LineErrorOverrun;
        if (now.bufOverrun != last.bufOverrun)
            mask |= LineErrorRxOver;
        if (now.brk != last.brk)
            mask |= LineErrorBreak;
    }
    if (now.valid)
        last = now;
    return mask;
}

// One opened device with its receive thread, from Open to Close.
struct TSession : TPortSessionBase {
    int fd = -1;
    TPipe wake; // receiving switched on or off
    TPipe stop; // closing: written once, never drained

    ~TSession() { Release(); }

    void SignalStop() { stop.Signal(); }
    void SignalWake() { wake.Signal(); }
    void Release() {
        if (fd < 0)
            return;
        // A pseudo-terminal keeps the exclusive flag while its other end is open.
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        fd = -1;
    }
};

class TPosixBackend final : public TSessionBackend<TSession> {
public:
    using TSessionBackend::TSessionBackend;

private:
    TPortError OpenDevice(TSession& s, const std::string& device) override {
        if (device.empty())
            return PortErrorFromSystem(ENOENT); // COM0 names no device
        s.fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (s.fd < 0)
            return PortErrorFromSystem(errno);
        // A file or another kind of device takes no line settings.
        if (!::isatty(s.fd))
            return PortErrorFromSystem(ENOTTY);
        // Unshared like the Windows port: TIOCEXCL keeps other opens out, the lock also
        // keeps out privileged users and other port objects of this program.
        if (::flock(s.fd, LOCK_EX | LOCK_NB) != 0)
            return PortErrorFromSystem(errno);
        ::ioctl(s.fd, TIOCEXCL);
        termios t{};
        if (::tcgetattr(s.fd, &t) != 0)
            return PortErrorFromSystem(errno);
        MakeRawTermios(t);
        if (::tcsetattr(s.fd, TCSANOW, &t) != 0)
            return PortErrorFromSystem(errno);
        SetModemLines(s.fd);
        if (!s.wake.Make() || !s.stop.Make())
            return PortErrorFromSystem(errno);
        return {};
    }

    bool ApplyTo(TSession& s, const TLineSettings& settings) override {
        termios t{};
        if (::tcgetattr(s.fd, &t) != 0)
            return false;
        MakeRawTermios(t);
        if (!SetLineTermios(settings, t) || ::tcsetattr(s.fd, TCSANOW, &t) != 0)
            return false;
        SetModemLines(s.fd);
        return true;
    }

    std::size_t WriteSome(TSession& s, const void* buffer, std::size_t count) override {
        ssize_t n = 0;
        do
            n = ::write(s.fd, buffer, count);
        while (n < 0 && errno == EINTR);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    // RTS up as the handshake would keep it while there is room; DTR down as on Windows,
    // where DTR control is disabled. Pseudo-terminals have no modem lines.
    static void SetModemLines(int fd) {
        int rts = TIOCM_RTS;
        ::ioctl(fd, TIOCMBIS, &rts);
        int dtr = TIOCM_DTR;
        ::ioctl(fd, TIOCMBIC, &dtr);
    }

    bool WriteAll(TSession& s, const std::uint8_t* p, std::size_t count) override {
        while (count > 0) {
            const ssize_t n = ::write(s.fd, p, count);
            if (n > 0) {
                p += n;
                count -= static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                return false;
            pollfd f[2] = {{s.fd, POLLOUT, 0}, {s.stop.r, POLLIN, 0}};
            if (::poll(f, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (f[1].revents != 0 || (f[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
                return false;
        }
        return true;
    }

    // The receive thread. It sleeps in poll until bytes, a wake-up or the stop arrive;
    // while suspended it watches the device only for a hang-up, so received bytes stay
    // queued in the driver.
    bool Run(TSession& s) override {
        TReceiveLink& link = *s.link;
        std::uint8_t* const buffer = link.Buffer();
        const std::uint32_t size = link.Size();
        // Bytes read but not yet handed over: with WaitFullBuffer they wait here, off the
        // driver's queue, so that poll sleeps until more arrive instead of reporting the
        // same waiting bytes again and again.
        std::uint32_t held = 0;
        std::uint32_t errors = 0;
        TLineCounters counters = ReadCounters(s.fd);
        bool lost = false;
        for (;;) {
            const bool receiving = link.Receiving();
            pollfd f[3] = {{s.fd, static_cast<short>(receiving ? POLLIN : 0), 0},
                           {s.wake.r, POLLIN, 0},
                           {s.stop.r, POLLIN, 0}};
            if (::poll(f, 3, -1) < 0) {
                if (errno == EINTR)
                    continue;
                lost = true;
                break;
            }
            if (f[2].revents != 0)
                break;
            if (f[1].revents != 0) {
                s.wake.Drain();
                continue; // receiving changed: take the new state first
            }
            // A hung-up terminal reports readable too; the read tells which.
            if (receiving && (f[0].revents & POLLIN) != 0) {
                // A device that keeps no counters (a pseudo-terminal, many USB adapters)
                // is not asked again on every read.
                if (counters.valid)
                    errors |= ErrorsSince(counters, s.fd);
                const ssize_t n = ::read(s.fd, buffer + held, size - held);
                if (n > 0) {
                    held += static_cast<std::uint32_t>(n);
                    if (held == size || !port_.WaitFullBuffer) {
                        if (!link.Deliver(held, errors))
                            break;
                        held = 0;
                        errors = 0;
                    }
                    continue;
                }
                if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                    continue;
                lost = true; // 0: hung up; EIO: the other end has gone
                break;
            }
            if ((f[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                lost = true;
                break;
            }
        }
        return lost;
    }
};

} // namespace

std::unique_ptr<TComPort::TBackend> TComPort::TBackend::Create(TComPort& port,
                                                               IDispatcher& dispatcher) {
    return std::make_unique<TPosixBackend>(port, dispatcher);
}

void MakeRawTermios(termios& t) {
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    // Modem lines other than RTS play no part: a dropped carrier must not hang the line up.
    t.c_cflag |= CLOCAL | CREAD;
#ifdef CRTSCTS
    // RTS by handshake but CTS ignored for output cannot be had with CRTSCTS, which also
    // holds output back on CTS; RTS is raised instead.
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
    // With O_NONBLOCK, VMIN 1 makes "no data" EAGAIN, so a read of 0 means hung up.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

namespace {

speed_t SpeedOf(std::uint32_t baud) {
    switch (baud) {
    case 110:
        return B110;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0; // 14400 and 56000 have no POSIX speed
    }
}

} // namespace

bool SetLineTermios(const TLineSettings& settings, termios& t) {
    if (settings.BaudIndex >= std::size(BaudRates) || settings.DataBits > 3 ||
        settings.Parity > 4 || settings.StopBits > 2 || settings.StopBits == 1)
        return false;
    const speed_t speed = SpeedOf(BaudRates[settings.BaudIndex]);
    if (speed == B0)
        return false;
    termios u = t;
    tcflag_t clear = CSIZE | PARENB | PARODD | CSTOPB;
#ifdef CMSPAR
    clear |= CMSPAR;
#else
    if (settings.Parity >= 3)
        return false;
#endif
    u.c_cflag &= ~clear;
    static constexpr tcflag_t Sizes[4] = {CS5, CS6, CS7, CS8};
    u.c_cflag |= Sizes[settings.DataBits];
    switch (settings.Parity) {
    case 1:
        u.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        u.c_cflag |= PARENB;
        break;
#ifdef CMSPAR
    case 3: // mark: the parity bit always 1
        u.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4: // space: always 0
        u.c_cflag |= PARENB | CMSPAR;
        break;
#endif
    default:
        break;
    }
    if (settings.StopBits == 2)
        u.c_cflag |= CSTOPB;
    if (cfsetispeed(&u, speed) != 0 || cfsetospeed(&u, speed) != 0)
        return false;
    t = u;
    return true;
}

} // namespace zav
