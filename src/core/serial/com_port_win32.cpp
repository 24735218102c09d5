// TComPort on a Windows COM port: overlapped I/O, and a receive thread that sleeps in
// WaitCommEvent until a character arrives.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601 // CancelIoEx
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <new>
#include <thread>

#include "serial/com_port.h"
#include "serial/com_port_backend.h"

namespace zav {
namespace {

// One opened port with its receive thread, from Open to Close.
struct TSession {
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE stop = nullptr; // manual reset: closing
    HANDLE wake = nullptr; // auto reset: receiving switched on or off
    std::atomic<bool> lost{false};
    std::shared_ptr<TReceiveLink> link;
    std::thread thread;

    ~TSession() {
        Release();
        if (stop != nullptr)
            CloseHandle(stop);
        if (wake != nullptr)
            CloseHandle(wake);
    }
    void Release() {
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        port = INVALID_HANDLE_VALUE;
    }
};

// Waits for an overlapped operation to finish, or for the port to close, in which case
// the operation is cancelled and waited out so that its record and buffer are free.
bool Await(TSession& s, OVERLAPPED& ov, DWORD& transferred) {
    HANDLE waits[2] = {ov.hEvent, s.stop};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
        return GetOverlappedResult(s.port, &ov, &transferred, FALSE) != 0;
    CancelIoEx(s.port, &ov);
    GetOverlappedResult(s.port, &ov, &transferred, TRUE);
    return false;
}

class TWin32Backend final : public TComPort::TBackend {
public:
    TWin32Backend(TComPort& port, IDispatcher& dispatcher) : port_(port), dispatcher_(dispatcher) {}
    ~TWin32Backend() override { Close(); }

    bool Connected() const override {
        // A lost device still reads as connected until the main thread closes it, which is
        // where its loss is reported: whoever sees the port closed has the report too.
        std::lock_guard lock(mutex_);
        return session_ != nullptr;
    }

    bool Open(const std::string& device, std::uint32_t inBufSize) override {
        Close(); // a port lost earlier
        auto s = std::make_shared<TSession>();
        s->port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
        if (s->port == INVALID_HANDLE_VALUE)
            return false;
        s->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        s->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (s->stop == nullptr || s->wake == nullptr)
            return false;
        try {
            s->link = std::make_shared<TReceiveLink>(port_, dispatcher_, inBufSize);
        } catch (const std::bad_alloc&) {
            return false; // an absurd InBufSize
        }
        s->thread = std::thread([this, raw = s.get()] { Run(*raw); });
        std::lock_guard lock(mutex_);
        session_ = std::move(s);
        return true;
    }

    void Close() override {
        std::shared_ptr<TSession> s;
        {
            std::lock_guard lock(mutex_);
            s = std::move(session_);
            session_.reset();
        }
        if (!s)
            return;
        s->link->Cancel();
        SetEvent(s->stop);
        if (s->thread.joinable())
            s->thread.join();
        s->link->WaitNoWriters();
        s->Release();
    }

    void SetReceiving(bool on) override {
        auto s = Current();
        if (!s)
            return;
        s->link->SetReceiving(on, [&s] { SetEvent(s->wake); });
    }

    bool Apply(const TLineSettings& settings) override {
        auto s = Current();
        if (!s || s->lost || settings.BaudIndex >= std::size(BaudRates))
            return false;
        DCB dcb;
        std::memset(&dcb, 0, sizeof dcb);
        dcb.DCBlength = sizeof(DCB);
        dcb.BaudRate = BaudRates[settings.BaudIndex];
        // The flag word 0x2000: RTS by handshake, every other flag clear.
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        dcb.ByteSize = static_cast<BYTE>(settings.DataBits + 5);
        dcb.Parity = settings.Parity;
        dcb.StopBits = settings.StopBits;
        return SetCommState(s->port, &dcb) != 0;
    }

    bool Write(const void* buffer, std::size_t count) override {
        auto s = Current();
        if (!s || s->lost || !s->link->EnterWrite())
            return false;
        const bool ok = WriteAll(*s, static_cast<const std::uint8_t*>(buffer), count);
        s->link->LeaveWrite();
        return ok;
    }

private:
    std::shared_ptr<TSession> Current() const {
        std::lock_guard lock(mutex_);
        return session_;
    }

    // Each write has its own record and event, so it shares nothing with the receive
    // thread's pending wait.
    static bool WriteAll(TSession& s, const std::uint8_t* p, std::size_t count) {
        OVERLAPPED ov;
        std::memset(&ov, 0, sizeof ov);
        ov.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
        if (ov.hEvent == nullptr)
            return false;
        bool ok = true;
        while (ok && count > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
            DWORD written = 0;
            ResetEvent(ov.hEvent);
            if (!WriteFile(s.port, p, chunk, nullptr, &ov) && GetLastError() != ERROR_IO_PENDING)
                ok = false;
            else
                ok = Await(s, ov, written) && written == chunk;
            p += chunk;
            count -= chunk;
        }
        CloseHandle(ov.hEvent);
        return ok;
    }

    // Reads n bytes that the driver reports queued.
    static DWORD ReadQueued(TSession& s, OVERLAPPED& ov, std::uint8_t* buffer, DWORD n) {
        DWORD got = 0;
        ResetEvent(ov.hEvent);
        if (ReadFile(s.port, buffer, n, &got, &ov))
            return got;
        if (GetLastError() == ERROR_IO_PENDING && Await(s, ov, got))
            return got;
        return 0;
    }

    // The receive thread. While suspended it waits on its events only, and received bytes
    // stay queued in the driver.
    void Run(TSession& s) {
        TReceiveLink& link = *s.link;
        struct TEnd {
            TReceiveLink& link;
            ~TEnd() { link.Ended(); }
        } end{link};
        std::uint8_t* const buffer = link.Buffer();
        const std::uint32_t size = link.Size();
        OVERLAPPED ov;
        std::memset(&ov, 0, sizeof ov);
        ov.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
        bool lost = ov.hEvent == nullptr;
        SetCommMask(s.port, EV_RXCHAR);
        std::uint32_t errors = 0;
        while (!lost && WaitForSingleObject(s.stop, 0) != WAIT_OBJECT_0) {
            if (!link.Receiving()) {
                HANDLE waits[2] = {s.stop, s.wake};
                WaitForMultipleObjects(2, waits, FALSE, INFINITE);
                continue;
            }
            // What is queued already is taken first: characters that came while the
            // thread was suspended or handing over are not reported to WaitCommEvent again.
            DWORD lineErrors = 0;
            COMSTAT stat;
            std::memset(&stat, 0, sizeof stat);
            if (!ClearCommError(s.port, &lineErrors, &stat)) {
                lost = true;
                break;
            }
            errors |= lineErrors;
            const DWORD wanted = port_.WaitFullBuffer ? size : 1;
            if (stat.cbInQue >= wanted) {
                const DWORD n = ReadQueued(s, ov, buffer, std::min<DWORD>(stat.cbInQue, size));
                if (n > 0) {
                    if (!link.Deliver(n, errors))
                        break;
                    errors = 0;
                }
                continue;
            }
            DWORD mask = 0;
            // Windows clears the event when the wait starts; Wine does not, and a stale
            // signal would be taken for a finished wait.
            ResetEvent(ov.hEvent);
            if (WaitCommEvent(s.port, &mask, &ov))
                continue;
            if (GetLastError() != ERROR_IO_PENDING) {
                lost = true; // the device no longer answers
                break;
            }
            HANDLE waits[3] = {ov.hEvent, s.stop, s.wake};
            DWORD unused = 0;
            if (WaitForMultipleObjects(3, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                // Setting the mask completes the pending wait, which frees the record.
                SetCommMask(s.port, EV_RXCHAR);
                GetOverlappedResult(s.port, &ov, &unused, TRUE);
                continue;
            }
            // A cancelled wait starts the next round; a wait still pending is ended like
            // the one above and the queue looked at again; any other failure means the
            // device went away (an adapter pulled out).
            if (!GetOverlappedResult(s.port, &ov, &unused, FALSE)) {
                const DWORD error = GetLastError();
                if (error == ERROR_IO_INCOMPLETE) {
                    SetCommMask(s.port, EV_RXCHAR);
                    GetOverlappedResult(s.port, &ov, &unused, TRUE);
                } else if (error != ERROR_OPERATION_ABORTED) {
                    lost = true;
                }
            }
        }
        if (ov.hEvent != nullptr)
            CloseHandle(ov.hEvent);
        SetCommMask(s.port, 0);
        if (lost) {
            s.lost = true;
            // Unless the port is closed first (which cancels this), the main thread
            // releases the device and learns of the loss; the backend lives till then.
            link.Lost([this] { Close(); });
        }
    }

    TComPort& port_;
    IDispatcher& dispatcher_;
    mutable std::mutex mutex_;
    // Guarded by mutex_; replaced only on the main thread, read by writers too.
    std::shared_ptr<TSession> session_;
};

} // namespace

std::unique_ptr<TComPort::TBackend> TComPort::TBackend::Create(TComPort& port,
                                                               IDispatcher& dispatcher) {
    return std::make_unique<TWin32Backend>(port, dispatcher);
}

} // namespace zav
