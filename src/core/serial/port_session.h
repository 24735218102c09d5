#pragma once
// The part of a backend that is the same on every platform: one opened device with its
// receive thread is a session, published by Open and taken down by Close; writers and
// the receive thread go through the session's link. A platform backend adds only the
// system calls: opening the device, line settings, writing and the receive loop.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "serial/com_port_backend.h"

namespace zav {

// What every platform's session holds besides its own handles.
struct TPortSessionBase {
    std::atomic<bool> lost{false}; // the device went away
    std::shared_ptr<TReceiveLink> link;
    std::thread thread;
};

// TSession derives from TPortSessionBase and has SignalStop() (closing: ends every wait
// of the session for good), SignalWake() (receiving was switched on or off) and
// Release() (lets the device go; its destructor releases too). A derived backend's
// destructor calls Close(), since the receive thread runs the derived Run.
template <class TSession> class TSessionBackend : public TComPort::TBackend {
public:
    TSessionBackend(TComPort& port, IDispatcher& dispatcher)
        : port_(port), dispatcher_(dispatcher) {}

    bool Connected() const final {
        // A lost device still reads as connected until the main thread closes it, which is
        // where its loss is reported: whoever sees the port closed has the report too.
        std::lock_guard lock(mutex_);
        return session_ != nullptr;
    }

    TPortError Open(const std::string& device, std::uint32_t inBufSize) final {
        Close(); // a port lost earlier
        auto s = std::make_shared<TSession>();
        if (TPortError error = OpenDevice(*s, device))
            return error;
        try {
            s->link = std::make_shared<TReceiveLink>(port_, dispatcher_, inBufSize);
        } catch (const std::bad_alloc&) {
            // An absurd InBufSize.
            return {EPortError::Other,
                    std::make_error_code(std::errc::not_enough_memory).message()};
        }
        s->thread = std::thread([this, raw = s.get()] { Receive(*raw); });
        std::lock_guard lock(mutex_);
        session_ = std::move(s);
        return {};
    }

    void Close() final {
        std::shared_ptr<TSession> s;
        {
            std::lock_guard lock(mutex_);
            s = std::move(session_);
            session_.reset();
        }
        if (!s)
            return;
        s->link->Cancel();
        s->SignalStop();
        if (s->thread.joinable())
            s->thread.join();
        s->link->WaitNoWriters();
        s->Release();
    }

    void SetReceiving(bool on) final {
        auto s = Current();
        if (!s)
            return;
        s->link->SetReceiving(on, [&s] { s->SignalWake(); });
    }

    bool Apply(const TLineSettings& settings) final {
        auto s = Current();
        return s && !s->lost && ApplyTo(*s, settings);
    }

    bool Write(const void* buffer, std::size_t count) final {
        auto s = Current();
        if (!s || s->lost || !s->link->EnterWrite())
            return false;
        const bool ok = WriteAll(*s, static_cast<const std::uint8_t*>(buffer), count);
        s->link->LeaveWrite();
        return ok;
    }

    std::size_t TryWrite(const void* buffer, std::size_t count) final {
        auto s = Current();
        if (!s || s->lost || !s->link->EnterWrite())
            return 0;
        const std::size_t n = WriteSome(*s, buffer, count);
        s->link->LeaveWrite();
        return n;
    }

protected:
    // Opens the device into s (left to s's destructor to release on failure); the
    // system's error of the call that failed.
    virtual TPortError OpenDevice(TSession& s, const std::string& device) = 0;
    virtual bool ApplyTo(TSession& s, const TLineSettings& settings) = 0;
    // Blocks until every byte is with the driver; false on a hang-up, an I/O error or a
    // Close meanwhile.
    virtual bool WriteAll(TSession& s, const std::uint8_t* p, std::size_t count) = 0;
    // What the driver takes at once; 0 where the platform does not write without waiting.
    virtual std::size_t WriteSome(TSession& /*s*/, const void* /*buffer*/, std::size_t /*count*/) {
        return 0;
    }
    // The receive loop: returns when the session stops (false) or the device is found
    // gone (true).
    virtual bool Run(TSession& s) = 0;

    TComPort& port_;

private:
    std::shared_ptr<TSession> Current() const {
        std::lock_guard lock(mutex_);
        return session_;
    }

    // The receive thread.
    void Receive(TSession& s) {
        struct TEnd {
            TReceiveLink& link;
            ~TEnd() { link.Ended(); }
        } end{*s.link};
        if (Run(s)) {
            s.lost = true;
            // Unless the port is closed first (which cancels this), the main thread
            // releases the device and learns of the loss; the backend lives till then.
            s.link->Lost([this] { Close(); });
        }
    }

    IDispatcher& dispatcher_;
    mutable std::mutex mutex_;
    // Guarded by mutex_; replaced only on the main thread, read by writers too.
    std::shared_ptr<TSession> session_;
};

} // namespace zav
