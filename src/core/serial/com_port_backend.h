#pragma once
// The platform part of TComPort, and the hand-over between a receive thread and the main
// thread that both platforms share.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/com_port.h"
#include "serial/dispatcher.h"
#include "serial/port_error.h"

namespace zav {

class TComPort::TBackend {
public:
    virtual ~TBackend() = default;
    // Made by the platform's own file.
    static std::unique_ptr<TBackend> Create(TComPort& port, IDispatcher& dispatcher);

    virtual bool Connected() const = 0;
    // Opens the device with a receive thread that starts suspended; the system's error
    // if it cannot be opened. A port lost earlier is cleaned up first.
    virtual TPortError Open(const std::string& device, std::uint32_t inBufSize) = 0;
    // Ends the receive thread and releases the device; no OnReceive or OnPortLost is
    // made after it returns.
    virtual void Close() = 0;
    virtual void SetReceiving(bool on) = 0;
    // False if the driver refuses the combination; the line keeps its old settings.
    virtual bool Apply(const TLineSettings& settings) = 0;
    virtual bool Write(const void* buffer, std::size_t count) = 0;
    virtual std::size_t TryWrite(const void* /*buffer*/, std::size_t /*count*/) { return 0; }
};

// What a receive thread shares with the main thread and the writers of one open port.
// A block is handed over by posting it to the main thread and waiting until it has run;
// the wait also ends when the port is closed, so a Close on the main thread never waits
// for a thread that waits for the main thread. Whatever is still queued for the main
// thread keeps this object alive and does nothing once the port was closed.
class TReceiveLink : public std::enable_shared_from_this<TReceiveLink> {
public:
    TReceiveLink(TComPort& port, IDispatcher& dispatcher, std::uint32_t bufSize)
        : port_(port), dispatcher_(dispatcher), buffer_(bufSize, 0) {}

    // The receive buffer: the thread's own between hand-overs, zero-filled.
    std::uint8_t* Buffer() { return buffer_.data(); }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(buffer_.size()); }

    // Receive thread, at the top of each round: whether to receive. Answering false
    // acknowledges a suspension, which SetReceiving (false) waits for.
    bool Receiving() {
        std::lock_guard lock(mutex_);
        parked_ = !receiving_;
        changed_.notify_all();
        return receiving_;
    }

    // Receive thread: runs OnReceive on the main thread with the first count bytes of the
    // buffer and waits until it has run, then zero-fills the buffer. False once the port
    // was closed: the thread must then end without touching the buffer again.
    bool Deliver(std::uint32_t count, std::uint32_t errors) {
        {
            std::lock_guard lock(mutex_);
            if (cancelled_)
                return false;
            pending_ = true;
            count_ = count;
            errors_ = errors;
        }
        if (port_.OnReceiveInThread) {
            // Close joins this thread, so the port outlives the call.
            RunDelivery(port_.OnReceiveInThread);
            std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
            return !Cancelled();
        }
        dispatcher_.Post([self = shared_from_this()] { self->RunDelivery(); });
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_ || cancelled_; });
        if (cancelled_)
            return false;
        std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
        return true;
    }

    // Receive thread: runs onMain on the main thread unless the port is closed first.
    void PostToMain(std::function<void()> onMain) {
        dispatcher_.Post([self = shared_from_this(), onMain = std::move(onMain)] {
            if (!self->Cancelled())
                onMain();
        });
    }

    // Receive thread, once it finds the device gone: tells the in-thread handler, then
    // has the main thread release the device (closeOnMain) and report the loss.
    void Lost(std::function<void()> closeOnMain) {
        if (!Cancelled() && port_.OnLostInThread)
            port_.OnLostInThread();
        PostToMain([this, closeOnMain = std::move(closeOnMain)] {
            closeOnMain();
            if (auto lostHandler = port_.OnPortLost)
                lostHandler();
        });
    }

    // Receive thread, on leaving by any way.
    void Ended() {
        std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }

    // Main thread. Turning receiving off returns once the thread reads no more: it has
    // acknowledged, or it waits for a block already read to be run on the main thread.
    void SetReceiving(bool on, const std::function<void()>& wake) {
        {
            std::lock_guard lock(mutex_);
            receiving_ = on;
        }
        wake();
        if (on)
            return;
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return parked_ || pending_ || ended_ || cancelled_; });
    }

    // Main thread: no OnReceive from now on; the thread's hand-over wait ends.
    void Cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        changed_.notify_all();
    }

    bool Cancelled() {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }

    // Writers register so that Close releases the device only after they have left.
    bool EnterWrite() {
        std::lock_guard lock(mutex_);
        if (cancelled_)
            return false;
        ++writers_;
        return true;
    }
    void LeaveWrite() {
        std::lock_guard lock(mutex_);
        --writers_;
        changed_.notify_all();
    }
    void WaitNoWriters() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return writers_ == 0; });
    }

private:
    // Main thread, or the receive thread for an in-thread handler.
    void RunDelivery() { RunDelivery(port_.OnReceive); }
    void RunDelivery(const TComPort::TReceiveHandler& handler) {
        // The thread waits for this, even if the handler throws.
        struct TDone {
            TReceiveLink& link;
            ~TDone() {
                std::lock_guard lock(link.mutex_);
                link.pending_ = false;
                link.changed_.notify_all();
            }
        } done{*this};
        if (!Cancelled() && handler)
            handler(buffer_.data(), count_, errors_);
    }

    TComPort& port_; // used only while not cancelled: Close cancels before the port goes
    IDispatcher& dispatcher_;
    std::vector<std::uint8_t> buffer_; // receive thread's, or the main thread's in a hand-over
    std::uint32_t count_ = 0;          // written before a hand-over is posted
    std::uint32_t errors_ = 0;         // likewise

    std::mutex mutex_;
    std::condition_variable changed_;
    // Guarded by mutex_:
    bool receiving_ = false; // wanted by the main thread
    bool parked_ = true;     // the thread saw receiving_ false and reads no more
    bool pending_ = false;   // a block waits for the main thread
    bool ended_ = false;     // the thread has left its loop
    bool cancelled_ = false; // the port was closed
    int writers_ = 0;        // writes in progress
};

} // namespace zav
