#pragma once
// The program's one serial port: opened by COM number, line settings from the port
// properties, a blocking Write for the sending threads, and a receive thread. The program
// handles each received block on that thread (OnReceiveInThread), so a busy window never
// makes a reply late; without that handler the thread hands the block to OnReceive on the
// main thread and waits until it has run. One backend per platform implements
// TComPort::TBackend.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "serial/dispatcher.h"
#include "serial/port_error.h"

namespace zav {

// Baud rates by BaudIndex.
inline constexpr std::uint32_t BaudRates[13] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                                14400, 19200, 38400, 56000, 57600, 115200};

// Line-error bits of the mask handed to OnReceive; the values are those of the Windows
// driver, so the mask means the same on every platform.
inline constexpr std::uint32_t LineErrorRxOver = 0x0001;  // input buffer overflow
inline constexpr std::uint32_t LineErrorOverrun = 0x0002; // character lost by the UART
inline constexpr std::uint32_t LineErrorParity = 0x0004;
inline constexpr std::uint32_t LineErrorFrame = 0x0008;
inline constexpr std::uint32_t LineErrorBreak = 0x0010;

struct TLineSettings {
    std::uint8_t BaudIndex = 0; // index into BaudRates
    std::uint8_t DataBits = 0;  // data bits minus 5
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
};

class TComPort {
public:
    // buffer holds count bytes (1..InBufSize) followed by zeros; errors is the driver's
    // line-error mask of the block.
    using TReceiveHandler =
        std::function<void(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t errors)>;

    explicit TComPort(IDispatcher& dispatcher);
    ~TComPort();
    TComPort(const TComPort&) = delete;
    TComPort& operator=(const TComPort&) = delete;

    // From Open until Close, or until the main thread has been told the device went away
    // (writes are refused from the moment the receive thread finds it gone).
    bool Connected() const;
    // Nothing to do on an open port; else the system's reason when the device did not open.
    TPortError Open();
    void Close();
    void SetReceiving(bool on);
    void ApplySettings();

    void SetPortNumber(std::uint32_t n);
    void SetBaudIndex(std::uint8_t value);
    void SetDataBits(std::uint8_t value);
    void SetParity(std::uint8_t value);
    void SetStopBits(std::uint8_t value);
    // Whether the line refused a setting since the last call (the setting was then left
    // as it was), and clears that.
    bool TakeRefusal();
    void SetInBufSize(std::uint32_t n);

    std::uint32_t PortNumber() const { return portNumber_; }
    std::uint8_t BaudIndex() const { return settings_.BaudIndex; }
    std::uint8_t DataBits() const { return settings_.DataBits; }
    std::uint8_t Parity() const { return settings_.Parity; }
    std::uint8_t StopBits() const { return settings_.StopBits; }
    std::uint32_t InBufSize() const { return inBufSize_; }

    // Blocks the calling thread until the bytes are written; false at once on a closed
    // port or a null buffer. Safe to call from any one sending thread at a time.
    bool Write(const void* buffer, std::size_t count);
    bool SendString(const std::string& text);
    // Writes what the driver takes at once, without waiting; returns how many bytes that
    // was (0 where the platform does not write without waiting).
    std::size_t TryWrite(const void* buffer, std::size_t count);

    // Called on the main thread for each received block, when OnReceiveInThread is unset.
    TReceiveHandler OnReceive;
    // When set (before Open), called instead of OnReceive on the receive thread itself,
    // so that a busy main thread does not hold up the replies. It must not close the port.
    TReceiveHandler OnReceiveInThread;
    // When set (before Open), called on the receive thread as soon as it finds the device
    // gone, before OnPortLost is posted.
    std::function<void()> OnLostInThread;
    // Posted to the main thread once when the device goes away while open (hang-up,
    // I/O error, adapter pulled out); the port is closed by then.
    std::function<void()> OnPortLost;
    // Hand over bytes only once at least InBufSize are waiting.
    std::atomic<bool> WaitFullBuffer{false};

    // The device behind COM n: the link ports/COM<n> in portsDir if there is one, else
    // the platform's own name (/dev/ttyS<n-1>, \\.\COMn).
    static std::string DeviceName(std::uint32_t n, const std::string& portsDir);
    // Where the ports/ links live; the executable's folder + "ports" unless set.
    void SetPortsDir(std::string dir) { portsDir_ = std::move(dir); }
    std::string PortsDir() const;
    // Opens this device instead of COM n's (a path given on a command line); empty: by
    // number.
    void SetDevicePath(std::string path) { devicePath_ = std::move(path); }
    // The device that Open opens.
    std::string DevicePath() const;

    class TBackend; // platform part: open device, line settings, write, receive thread

private:
    void ChangeSetting(std::uint8_t TLineSettings::*field, std::uint8_t value);

    friend class TBackend;
    IDispatcher& dispatcher_;
    std::unique_ptr<TBackend> backend_;
    TLineSettings settings_;
    std::uint32_t portNumber_ = 0;
    std::uint32_t inBufSize_ = 1000;
    std::string portsDir_;
    std::string devicePath_;
    bool refused_ = false; // main thread only
};

} // namespace zav
