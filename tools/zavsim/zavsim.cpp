#include "zavsim.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace zavsim {

namespace {

constexpr std::size_t MaxRequestLog = 100000;
constexpr std::size_t MaxInQueue = 4096;         // stop reading beyond: the writer then waits
constexpr std::size_t MaxOutQueue = 1 << 20;     // nobody reads the line: drop the rest
constexpr std::chrono::milliseconds SplitGap{1}; // between the writes of a split reply
// Before a hang-up the other end gets a chance to read the last reply: the line is
// closed once the terminal holds no unread byte (checked every HangupCheck), at the
// latest after HangupLimit.
constexpr std::chrono::milliseconds HangupCheck{10};
constexpr std::chrono::milliseconds HangupLimit{2000};

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

void SetFlags(int fd, int statusFlags) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | statusFlags);
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

// Non-printable bytes as \xNN, so that traffic logs stay one line per unit.
std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

std::string ExecutableDir() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return ".";
    }
    std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, std::max<std::size_t>(slash, 1));
}

// Where the program looks for its port links: beside the executables in the build
// folder (which holds lang/), else in the user's data folder, as an installed program.
std::string DefaultPortsDir() {
    const std::string exeDir = ExecutableDir();
    struct stat st {};
    if (stat((exeDir + "/lang").c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return exeDir + "/ports";
    }
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg != 0) {
        return std::string(xdg) + "/zav/ports";
    }
    if (home != nullptr && *home != 0) {
        return std::string(home) + "/.local/share/zav/ports";
    }
    return exeDir + "/ports";
}

} // namespace

struct TSimulator::TImpl {
    explicit TImpl(TSimOptions options)
        : Options(std::move(options)), Model(Options.TimeScale),
          Rng(Options.RandomStart ? *Options.RandomStart : std::random_device{}()) {
        if (Options.StopMs)
            Model.SetStopTime(std::chrono::milliseconds(*Options.StopMs));
        if (!Options.MemoryFile.empty()) {
            std::ifstream in(Options.MemoryFile, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            Model.LoadMemory(text.str());
        }
        if (Options.Baud > 0) {
            CharTime = std::chrono::duration_cast<TClock::duration>(
                std::chrono::duration<double>(11.0 / Options.Baud));
        }
    }

    // Fixed after construction.
    TSimOptions Options;
    std::string SlaveName;
    std::string LinkPath;
    int WakeRead = -1;
    int WakeWrite = -1;
    TClock::duration CharTime{};

    std::mutex ControlMutex; // serialises Start and Stop
    std::thread Loop;        // guarded by ControlMutex
    std::atomic<bool> Stopping{false};

    mutable std::mutex Mutex; // guards everything below
    mutable std::condition_variable RequestHandled;
    std::uint64_t WriteCount = 0;
    int Master = -1;
    int SlaveKeep = -1; // our own slave descriptor: the master never sees a hang-up
    TControllerModel Model;
    std::deque<std::string> RequestLog;
    std::string Pending;
    bool Discarding = false;
    std::uint64_t RequestCount = 0;
    std::deque<std::pair<TClock::time_point, char>> InQueue;
    TClock::time_point InLineFree{};
    std::deque<char> OutQueue;
    TClock::time_point NextWriteAt{};
    bool WaitWritable = false;
    bool Silent = false;
    std::string KeptMemory; // what MemoryFile holds
    bool HangupPending = false;
    std::optional<TClock::time_point> HangupCheckAt;
    TClock::time_point HangupDeadline{};
    bool HungUp = false;
    std::mt19937 Rng;

    void Log(const char* direction, const std::string& text) {
        if (Options.Verbose) {
            std::fprintf(stderr, "zavsim %s %s\n", direction, Escape(text).c_str());
        }
    }

    void CloseLine() {
        if (Master >= 0) {
            close(Master);
            Master = -1;
        }
        if (SlaveKeep >= 0) {
            close(SlaveKeep);
            SlaveKeep = -1;
        }
    }

    void Emit(const std::string& unit, TClock::time_point now) {
        if (Silent || HangupPending || HungUp || OutQueue.size() > MaxOutQueue) {
            return;
        }
        Log("->", unit);
        if (OutQueue.empty()) {
            // The first byte of a burst is delivered one character time after the
            // line became free.
            NextWriteAt = std::max(NextWriteAt, now + CharTime);
        }
        if (Options.Garbage > 0 &&
            std::uniform_real_distribution<double>(0, 1)(Rng) < Options.Garbage) {
            char junk = '*';
            while (junk == '*') {
                junk = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(Rng));
            }
            OutQueue.push_back(junk);
        }
        OutQueue.insert(OutQueue.end(), unit.begin(), unit.end());
    }

    void HandleRequest(const std::string& sent, bool overlong, TClock::time_point now) {
        ++RequestCount;
        const bool corrupt = Options.CorruptAt && RequestCount == *Options.CorruptAt && !overlong;
        const std::string request = corrupt ? TControllerModel::NoisyRequest(sent) : sent;
        if (RequestLog.size() >= MaxRequestLog) {
            RequestLog.pop_front();
        }
        RequestLog.push_back(request);
        Log("<-", request + (overlong ? "..." : "*"));
        if (Options.SilentAfter && RequestCount > *Options.SilentAfter) {
            Silent = true;
        }
        if (Silent || HangupPending || HungUp) {
            RequestHandled.notify_all();
            return;
        }
        if (Options.NoiseAt && RequestCount == *Options.NoiseAt) {
            // A babbling line: plenty of bytes, never a reply terminator.
            std::string noise(Options.NoiseBytes, 'x');
            for (std::size_t i = 0; i < noise.size(); i += 7)
                noise[i] = static_cast<char>('a' + i % 26);
            Emit(noise, now);
        } else if (Options.E5Every && *Options.E5Every > 0 &&
                   RequestCount % *Options.E5Every == 0) {
            // The request is taken as garbled: not acted on, no echo, only the error code.
            Emit(TControllerModel::CodedReply(Model.ReplyDigit(request), '5'), now);
        } else if (overlong) {
            Emit(TControllerModel::CodedReply(Model.ReplyDigit(""), '6'), now);
        } else {
            for (const std::string& unit : Model.HandleRequest(request, now)) {
                Emit(unit, now);
            }
            KeepMemory();
        }
        if (Options.HangupAfter && RequestCount >= *Options.HangupAfter) {
            HangupPending = true;
        }
        RequestHandled.notify_all();
    }

    // Written whole beside the file and renamed over it: a simulator killed meanwhile
    // leaves the memory of the request before.
    void KeepMemory() {
        if (Options.MemoryFile.empty())
            return;
        const std::string memory = Model.SaveMemory();
        if (memory == KeptMemory)
            return;
        const std::string temp = Options.MemoryFile + ".new";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out << memory;
            if (!out.flush())
                return;
        }
        if (std::rename(temp.c_str(), Options.MemoryFile.c_str()) == 0)
            KeptMemory = memory;
    }

    void HandleByte(char c, TClock::time_point now) {
        if (Discarding) {
            Discarding = c != '*';
            return;
        }
        if (Pending.empty() && (c == '\r' || c == '\n' || c == ' ' || c == '\t')) {
            return; // stray line ends and blanks between requests
        }
        if (c == '*') {
            if (!Pending.empty()) {
                std::string request;
                request.swap(Pending);
                HandleRequest(request, false, now);
            }
            return;
        }
        Pending += c;
        if (Pending.size() > Options.MaxRequest) {
            // Answered at once; the rest up to the next "*" is dropped unanswered.
            std::string request;
            request.swap(Pending);
            Discarding = true;
            HandleRequest(request, true, now);
        }
    }

    void ReadInput(TClock::time_point now) {
        char block[4096];
        const ssize_t n = read(Master, block, sizeof block);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        if (n <= 0) {
            // Cannot happen while our own slave descriptor is open; give up the line
            // rather than spin on it.
            Log("!!", SystemError("read from the terminal"));
            CloseLine();
            HungUp = true;
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            TClock::time_point due = now;
            if (Options.Baud > 0) {
                due = std::max(now, InLineFree) + CharTime;
                InLineFree = due;
            }
            InQueue.emplace_back(due, block[i]);
        }
    }

    void WriteOutput(TClock::time_point now) {
        if (WaitWritable || Master < 0) {
            return;
        }
        std::string chunk;
        while (!OutQueue.empty() && NextWriteAt <= now && chunk.size() < 4096) {
            chunk += OutQueue.front();
            OutQueue.pop_front();
            NextWriteAt += CharTime;
            if (Options.Split) {
                NextWriteAt = std::max(NextWriteAt, now + SplitGap);
                break;
            }
        }
        if (chunk.empty()) {
            return;
        }
        const ssize_t n = write(Master, chunk.data(), chunk.size());
        const std::size_t written = n > 0 ? static_cast<std::size_t>(n) : 0;
        WriteCount += n > 0 ? 1 : 0;
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            Log("!!", SystemError("write to the terminal"));
            OutQueue.clear(); // retrying at once would only spin
            return;
        }
        if (written < chunk.size()) {
            OutQueue.insert(OutQueue.begin(), chunk.begin() + static_cast<long>(written),
                            chunk.end());
            WaitWritable = true;
        }
    }

    void TryHangup(TClock::time_point now) {
        if (!HangupCheckAt) {
            HangupCheckAt = now + HangupCheck;
            HangupDeadline = now + HangupLimit;
            return;
        }
        if (now < *HangupCheckAt) {
            return;
        }
        int unread = 0;
        if (ioctl(SlaveKeep, FIONREAD, &unread) == 0 && unread > 0 && now < HangupDeadline) {
            HangupCheckAt = now + HangupCheck;
            return;
        }
        Log("!!", "hang-up");
        CloseLine();
        HangupCheckAt.reset();
        HungUp = true;
    }

    void Run() {
        for (;;) {
            pollfd fds[2] = {{WakeRead, POLLIN, 0}, {-1, 0, 0}};
            timespec timeout{};
            timespec* timeoutPtr = nullptr; // none: wait for a byte or a stop
            {
                std::lock_guard lock(Mutex);
                const TClock::time_point now = TClock::now();
                if (!HungUp) {
                    while (!InQueue.empty() && InQueue.front().first <= now) {
                        // Acted on as of the moment the character was fully received, so
                        // that a late wake-up does not stretch the emulated line.
                        const auto [due, c] = InQueue.front();
                        InQueue.pop_front();
                        HandleByte(c, due);
                    }
                    for (const std::string& unit : Model.Advance(now)) {
                        Emit(unit, now);
                    }
                    WriteOutput(now);
                    if (HangupPending && OutQueue.empty()) {
                        TryHangup(now);
                    }
                }
                std::optional<TClock::time_point> next;
                const auto consider = [&](TClock::time_point t) {
                    if (!next || t < *next) {
                        next = t;
                    }
                };
                if (!HungUp) {
                    if (!InQueue.empty()) {
                        consider(InQueue.front().first);
                    }
                    if (auto due = Model.NextDeadline()) {
                        consider(*due);
                    }
                    if (!OutQueue.empty() && !WaitWritable) {
                        consider(NextWriteAt);
                    }
                    if (HangupCheckAt) {
                        consider(*HangupCheckAt);
                    }
                    fds[1].fd = Master;
                    fds[1].events = static_cast<short>((InQueue.size() < MaxInQueue ? POLLIN : 0) |
                                                       (WaitWritable ? POLLOUT : 0));
                }
                if (next) {
                    // Timers to the nanosecond: rounding each wait up to whole
                    // milliseconds would slow the emulated line by up to a millisecond
                    // per character.
                    const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::clamp<TClock::duration>(*next - now, TClock::duration::zero(),
                                                     std::chrono::hours(24)));
                    timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
                    timeout.tv_nsec = static_cast<long>(wait.count() % 1000000000);
                    timeoutPtr = &timeout;
                }
            }
            const int ready = ppoll(fds, fds[1].fd >= 0 ? 2 : 1, timeoutPtr, nullptr);
            if (ready < 0 && errno != EINTR) {
                Log("!!", SystemError("poll"));
                return;
            }
            if (Stopping.load()) {
                return;
            }
            if (ready > 0 && (fds[0].revents & POLLIN)) {
                char drain[64];
                while (read(WakeRead, drain, sizeof drain) > 0) {
                }
            }
            if (ready > 0 && fds[1].revents) {
                std::lock_guard lock(Mutex);
                const TClock::time_point now = TClock::now();
                if (fds[1].revents & POLLOUT) {
                    WaitWritable = false;
                }
                if (fds[1].revents & (POLLIN | POLLHUP | POLLERR) && Master >= 0) {
                    ReadInput(now);
                }
            }
        }
    }
};

TSimulator::TSimulator(TSimOptions options) : impl_(std::make_unique<TImpl>(std::move(options))) {
    TImpl& d = *impl_;
    d.Master = posix_openpt(O_RDWR | O_NOCTTY);
    if (d.Master < 0) {
        throw std::runtime_error(SystemError("cannot open a pseudo-terminal"));
    }
    char name[256];
    if (grantpt(d.Master) != 0 || unlockpt(d.Master) != 0 ||
        ptsname_r(d.Master, name, sizeof name) != 0) {
        const std::string message = SystemError("cannot unlock the pseudo-terminal");
        d.CloseLine();
        throw std::runtime_error(message);
    }
    d.SlaveName = name;
    SetFlags(d.Master, O_NONBLOCK);
    d.SlaveKeep = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (d.SlaveKeep < 0) {
        const std::string message = SystemError("cannot open " + d.SlaveName);
        d.CloseLine();
        throw std::runtime_error(message);
    }
    // Raw both ways: no echo by the line discipline, no translation of CR/LF.
    termios tio{};
    tcgetattr(d.SlaveKeep, &tio);
    cfmakeraw(&tio);
    tcsetattr(d.SlaveKeep, TCSANOW, &tio);

    int wake[2];
    if (pipe(wake) != 0) {
        const std::string message = SystemError("cannot create the wake-up pipe");
        d.CloseLine();
        throw std::runtime_error(message);
    }
    d.WakeRead = wake[0];
    d.WakeWrite = wake[1];
    SetFlags(d.WakeRead, O_NONBLOCK);
    SetFlags(d.WakeWrite, O_NONBLOCK);

    if (d.Options.Port > 0) {
        const std::string dir = d.Options.PortsDir.empty() ? DefaultPortsDir() : d.Options.PortsDir;
        std::error_code ec; // usually there already
        std::filesystem::create_directories(dir, ec);
        const std::string link = dir + "/COM" + std::to_string(d.Options.Port);
        struct stat st {};
        std::string problem;
        if (lstat(link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                problem = link + " exists and is not a link; it was left alone";
            } else if (unlink(link.c_str()) != 0) {
                problem = SystemError("cannot replace " + link);
            }
        }
        if (problem.empty() && symlink(d.SlaveName.c_str(), link.c_str()) != 0) {
            problem = SystemError("cannot create " + link);
        }
        if (!problem.empty()) {
            d.CloseLine();
            close(d.WakeRead);
            close(d.WakeWrite);
            throw std::runtime_error(problem);
        }
        d.LinkPath = link;
    }
}

TSimulator::~TSimulator() {
    Stop();
    TImpl& d = *impl_;
    d.CloseLine();
    close(d.WakeRead);
    close(d.WakeWrite);
    if (!d.LinkPath.empty()) {
        // Only our own link: another simulator may have taken the port over since.
        char target[4096];
        const ssize_t n = readlink(d.LinkPath.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == d.SlaveName) {
            unlink(d.LinkPath.c_str());
        }
    }
}

std::string TSimulator::SlavePath() const {
    return impl_->SlaveName;
}
std::string TSimulator::PortLinkPath() const {
    return impl_->LinkPath;
}

void TSimulator::Start() {
    std::lock_guard lock(impl_->ControlMutex);
    if (!impl_->Loop.joinable() && !impl_->Stopping.load()) {
        impl_->Loop = std::thread([this] {
            // Timers as exact as the kernel gives them: the default slack of 50 us a
            // wake-up would add up over the characters of an emulated line.
            prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
            impl_->Run();
        });
    }
}

void TSimulator::Stop() {
    std::lock_guard lock(impl_->ControlMutex);
    impl_->Stopping.store(true);
    if (impl_->Loop.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = write(impl_->WakeWrite, &wake, 1);
        impl_->Loop.join();
    }
}

std::vector<std::string> TSimulator::Requests() const {
    std::lock_guard lock(impl_->Mutex);
    return {impl_->RequestLog.begin(), impl_->RequestLog.end()};
}

std::vector<TStoredCommand> TSimulator::Program(int coordinate) const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->Model.Program(coordinate);
}

std::vector<TStoredCommand> TSimulator::Buffer() const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->Model.Buffer();
}

TRunState TSimulator::RunState(int coordinate) const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->Model.RunState(coordinate);
}

long long TSimulator::Position(int coordinate) const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->Model.Position(coordinate);
}

std::uint64_t TSimulator::WriteCalls() const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->WriteCount;
}

bool TSimulator::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->Mutex);
    return impl_->RequestHandled.wait_for(lock, timeout,
                                          [&] { return impl_->RequestCount >= count; });
}

bool TSimulator::HungUp() const {
    std::lock_guard lock(impl_->Mutex);
    return impl_->HungUp;
}

} // namespace zavsim
