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
#include "serial/port_session.h"

namespace zav {
namespace {

// The system's text of an error, in UTF-8 like all core text, without its line break.
std::string SystemMessage(DWORD error) {
    wchar_t* wide = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
    std::string text;
    if (length > 0) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr,
                                              0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(std::max(bytes, 0)));
        WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text.data(), bytes, nullptr,
                            nullptr);
    }
    if (wide != nullptr)
        LocalFree(wide);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : text;
}

} // namespace

TPortError PortErrorFromSystem(unsigned long error) {
    return SortPortError(
        static_cast<long>(error), SystemMessage(error),
        {
            {EPortError::NoSuchDevice,
             {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_BAD_UNIT,
              ERROR_DEV_NOT_EXIST, ERROR_DEVICE_NOT_CONNECTED}},
            // A COM port opens unshared: one held by another program answers "access denied".
            {EPortError::Busy, {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_BUSY}},
            {EPortError::NoPermission, {ERROR_PRIVILEGE_NOT_HELD}},
            {EPortError::UnsupportedSetting,
             {ERROR_INVALID_PARAMETER, ERROR_NOT_SUPPORTED, ERROR_INVALID_FUNCTION}},
        });
}

namespace {

// One opened port with its receive thread, from Open to Close.
struct TSession : TPortSessionBase {
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE stop = nullptr; // manual reset: closing
    HANDLE wake = nullptr; // auto reset: receiving switched on or off

    ~TSession() {
        Release();
        if (stop != nullptr)
            CloseHandle(stop);
        if (wake != nullptr)
            CloseHandle(wake);
    }
    void SignalStop() { SetEvent(stop); }
    void SignalWake() { SetEvent(wake); }
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

class TWin32Backend final : public TSessionBackend<TSession> {
public:
    using TSessionBackend::TSessionBackend;

private:
    TPortError OpenDevice(TSession& s, const std::string& device) override {
        s.port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
        if (s.port == INVALID_HANDLE_VALUE)
            return PortErrorFromSystem(GetLastError());
        s.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (s.stop == nullptr)
            return PortErrorFromSystem(GetLastError());
        s.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (s.wake == nullptr)
            return PortErrorFromSystem(GetLastError());
        return {};
    }

    bool ApplyTo(TSession& s, const TLineSettings& settings) override {
        if (settings.BaudIndex >= std::size(BaudRates))
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
        return SetCommState(s.port, &dcb) != 0;
    }

    // Each write has its own record and event, so it shares nothing with the receive
    // thread's pending wait.
    bool WriteAll(TSession& s, const std::uint8_t* p, std::size_t count) override {
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
    bool Run(TSession& s) override {
        TReceiveLink& link = *s.link;
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
        return lost;
    }
};

} // namespace

std::unique_ptr<TComPort::TBackend> TComPort::TBackend::Create(TComPort& port,
                                                               IDispatcher& dispatcher) {
    return std::make_unique<TWin32Backend>(port, dispatcher);
}

} // namespace zav
