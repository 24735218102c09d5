#pragma once
// One run of zavctl: the program's core with its operation log and message boxes on
// stderr, the calling thread as the main thread, and the send, read and send-line flows
// returning exit statuses.

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "controller/controller.h"
#include "ctl_options.h"
#include "serial/dispatcher.h"

namespace zavctl {

struct TCtlIo {
    std::ostream& Out;     // results: replies, read commands, the device list
    std::ostream& Err;     // the operation log, messages and progress
    bool Progress = false; // show "line n of m" while sending (stderr is a terminal)
};

// The operation log and message boxes as lines on a stream; red lines and message boxes
// count as errors.
class TCtlViews : public zav::IOperationLog, public zav::IMessageBox {
public:
    explicit TCtlViews(std::ostream& err) : err_(err) {}
    void SetTextColor(zav::TColor color) override { red_ = color == zav::clRed; }
    void AddLine(const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    // A progress line that the next one overwrites, until a message or EndProgress.
    void ShowProgress(const std::string& text);
    void EndProgress();
    std::size_t Errors() const { return errors_; }

private:
    void Print(const std::string& text);
    std::ostream& err_;
    bool red_ = false; // the program's log sets red before each red line
    bool progressShown_ = false;
    std::size_t errors_ = 0;
};

// The replies received since it was made, from the received-text list the program
// shows ("Response:"), which holds one reply a line and ends with an open one.
class TReplyWatch {
public:
    explicit TReplyWatch(const zav::TTextLines& received);
    // The replies completed since the last call.
    std::vector<std::string> TakeNew();

private:
    const zav::TTextLines& received_;
    std::uint64_t next_; // the first line not yet taken, counted from the list's start
};

// The reply that ends a request's wait in an exchange: accepted, incorrect command or
// incorrect data ("E10*", "E26*", "E39*").
bool EndsRequest(const std::string& reply);

class TCtlSession {
public:
    // Reads the settings of the data folder (which the caller has chosen) as the
    // program does at start-up.
    explicit TCtlSession(TCtlIo& io);
    ~TCtlSession();

    zav::TController& Controller() { return *controller_; }

    // The port of the options, or of Data/portp.dat; exOk or exPortNotOpened.
    TExitStatus OpenPort(const TCtlOptions& options);
    // Loads the command file into the send list; exUsage when it cannot be used.
    TExitStatus LoadCommandFile(const std::string& fileName);
    // Sends the send list as the Send button does.
    TExitStatus SendList();
    TExitStatus SendLine(const std::string& line);
    TExitStatus Read(bool buffer, int coordinate, const std::string& output);
    // Prints the program check's warnings of a command file and the estimated durations
    // of its recordings, and writes the motion preview to svg unless it is empty; no
    // port is needed.
    TExitStatus Check(const std::string& fileName, const std::string& svg);

private:
    // Runs the main thread's queue until done() holds, calling step() after each item.
    // The command file's lines; exUsage when it is missing, unreadable or not a list.
    TExitStatus ReadCommandLines(const std::string& fileName, std::vector<std::string>& lines);
    void ProcessUntil(const std::function<bool()>& done, const std::function<void()>& step);

    TCtlIo& io_;
    zav::TQueueDispatcher dispatcher_;
    TCtlViews views_;
    std::unique_ptr<zav::TController> controller_;
};

// Runs the command of the options in the current data folder; prints to io.
int RunCtl(const TCtlOptions& options, TCtlIo& io);
// Parses args (without the program name), then runs; usage errors give exUsage.
int CtlMain(const std::vector<std::string>& args, TCtlIo& io);

} // namespace zavctl
