#pragma once
// The far end of a pseudo-terminal for tests: the code under test opens the slave (as
// COM n through a ports/COM<n> link), the test reads and writes the master.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace zav::test {

class TPtyPeer {
public:
    TPtyPeer() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slave_ = ptsname(master_);
        termios t{};
        tcgetattr(master_, &t);
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
    }
    ~TPtyPeer() { Close(); }
    TPtyPeer(const TPtyPeer&) = delete;
    TPtyPeer& operator=(const TPtyPeer&) = delete;

    const std::string& SlavePath() const { return slave_; }

    // Makes the slave reachable as COM n from dir/ports.
    void Link(const std::filesystem::path& portsDir, int n) const {
        std::filesystem::create_directories(portsDir);
        const auto link = portsDir / ("COM" + std::to_string(n));
        std::filesystem::remove(link);
        std::filesystem::create_symlink(slave_, link);
    }

    void Write(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                throw std::runtime_error("pty write failed");
            done += static_cast<std::size_t>(n);
        }
    }

    // The next request, up to and including its "*", or nothing within ms.
    std::optional<std::string> ReadRequest(int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const std::size_t star = pending_.find('*');
            if (star != std::string::npos) {
                std::string request = pending_.substr(0, star + 1);
                pending_.erase(0, star + 1);
                return request;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !Readable(static_cast<int>(left.count())))
                return std::nullopt;
            char buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                return std::nullopt;
            pending_.append(buf, static_cast<std::size_t>(n));
        }
    }

    // True if any byte arrives within ms (or is already waiting).
    bool Readable(int ms) const {
        if (!pending_.empty())
            return true;
        pollfd p{master_, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN);
    }

    void Close() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_;
    std::string pending_;
};

} // namespace zav::test

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zav::test {

// A controller stand-in on its own thread: answers every request read from the peer
// with what answer(request) returns, and keeps the requests.
class TScriptedController {
public:
    TScriptedController(TPtyPeer& peer, std::function<std::string(const std::string&)> answer)
        : peer_(peer), answer_(std::move(answer)), thread_([this] { Run(); }) {}
    ~TScriptedController() { Stop(); }

    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // True once n requests have come, within ms.
    bool WaitForRequests(std::size_t n, int ms) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::milliseconds(ms),
                                 [&] { return requests_.size() >= n; });
    }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Run() {
        while (!stop_) {
            // A short wait so that Stop is noticed; the peer blocks in poll meanwhile.
            auto request = peer_.ReadRequest(50);
            if (!request)
                continue;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(*request);
            }
            arrived_.notify_all();
            const std::string reply = answer_(*request);
            if (!reply.empty())
                peer_.Write(reply);
        }
    }

    TPtyPeer& peer_;
    std::function<std::string(const std::string&)> answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> requests_; // guarded by mutex_
    std::thread thread_;
};

} // namespace zav::test
