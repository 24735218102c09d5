#include "ctl_session.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "command-language/zav_commands.h"
#include "program-editing/command_files.h"
#include "serial/device_list.h"
#include "state/file_names.h"

namespace zavctl {

namespace fs = std::filesystem;
using zav::TController;

void TCtlViews::Print(const std::string& text) {
    if (progressShown_)
        err_ << '\n';
    progressShown_ = false;
    err_ << text << '\n' << std::flush;
}

void TCtlViews::AddLine(const std::string& line) {
    Print(line);
    if (red_)
        ++errors_;
    red_ = false;
}

void TCtlViews::ShowMessage(const std::string& text) {
    Print(text);
    ++errors_;
}

void TCtlViews::ShowProgress(const std::string& text) {
    err_ << '\r' << text << std::flush;
    progressShown_ = true;
}

void TCtlViews::EndProgress() {
    if (progressShown_)
        err_ << '\n' << std::flush;
    progressShown_ = false;
}

TReplyWatch::TReplyWatch(const zav::TTextLines& received)
    : received_(received), next_(received.Dropped() + received.Count()) {
    // The open last line may already hold the start of the next reply.
    if (received.Count() > 0)
        --next_;
}

std::vector<std::string> TReplyWatch::TakeNew() {
    std::vector<std::string> replies;
    const std::uint64_t first = received_.Dropped();
    const std::uint64_t open = first + received_.Count(); // one past the last line
    // The last line is still open: it is taken once a "*" has closed it.
    for (next_ = std::max(next_, first); next_ + 1 < open; ++next_) {
        std::string line = received_.Lines()[static_cast<std::size_t>(next_ - first)];
        std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
        if (!line.empty())
            replies.push_back(std::move(line));
    }
    return replies;
}

bool EndsRequest(const std::string& reply) {
    if (reply.size() < 4)
        return false;
    const std::string code = reply.substr(reply.size() - 4);
    return code[0] == 'E' && code[1] >= '1' && code[1] <= '3' &&
           (code[2] == '0' || code[2] == '6' || code[2] == '9') && code[3] == '*';
}

TCtlSession::TCtlSession(TCtlIo& io) : io_(io), views_(io.Err) {
    zav::TControllerViews views;
    views.Log = &views_;
    views.MessageBox = &views_;
    controller_ = std::make_unique<TController>(dispatcher_, views);
    controller_->SettingsFiles().LoadErrorSettings();
}

TCtlSession::~TCtlSession() {
    controller_.reset();
    dispatcher_.Drain();
}

void TCtlSession::ProcessUntil(const std::function<bool()>& done,
                               const std::function<void()>& step) {
    const auto check = [&] {
        step();
        return done();
    };
    // Each wait ends with the exchange or read at the latest: they give up on a silent
    // controller after the reply time.
    while (!dispatcher_.ProcessUntil(check, 60000)) {
    }
    // What the ended threads posted last: the reply that ended the exchange, a "no reply"
    // line.
    controller_->SettleReceived();
    dispatcher_.Drain();
    step();
}

TExitStatus TCtlSession::OpenPort(const TCtlOptions& options) {
    zav::TComPort& port = controller_->Port();
    if (options.Device.empty() && options.Port == 0) {
        controller_->PortConnection().LoadPortSettings();
    } else {
        if (!options.Device.empty())
            port.SetDevicePath(options.Device);
        else
            port.SetPortNumber(options.Port);
        // The line settings every start of the program uses: 9600 baud, 8E1.
        port.SetDataBits(3);
        port.SetStopBits(0);
        port.SetParity(2);
        port.SetBaudIndex(6);
    }
    zav::TPortError error;
    try {
        error = port.Open();
    } catch (const std::exception& e) {
        // A backend failure is a port that did not open.
        error = {zav::EPortError::Other, e.what()};
    }
    if (!port.Connected()) {
        // As the window says it: why, then which device.
        const zav::TLang& lang = controller_->Lang();
        views_.ShowMessage(lang.Message(zav::msgPortOpenError) + ": " +
                           zav::PortErrorReason(lang, error) + " (" + port.DevicePath() + ")");
        return exPortNotOpened;
    }
    port.SetReceiving(true);
    return exOk;
}

TExitStatus TCtlSession::LoadCommandFile(const std::string& fileName) {
    const zav::TLang& lang = controller_->Lang();
    if (!zav::HasCommandFileExtension(fileName)) {
        views_.ShowMessage(lang.Message(zav::msgBadFileName) + ": " + fileName);
        return exUsage;
    }
    std::error_code ec;
    if (!fs::is_regular_file(zav::FsPath(fileName), ec)) {
        views_.ShowMessage(lang.Message(zav::msgFileNotFound) + fileName +
                           lang.Message(zav::msgFileNotFoundEnd));
        return exUsage;
    }
    const std::size_t errors = views_.Errors();
    if (!controller_->Files().LoadFromFile(fileName))
        return exUsage;
    if (views_.Errors() == errors)
        return exOk;
    // A list with a wrong command is not sent at all: half a program recorded into the
    // controller is worse than none.
    const zav::TCommandList& list = controller_->MemoSend();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string& command = list.Row(i).Command;
        if (command.empty() || zav::TZavCommands::FindCommand(command) == zav::ciUnknown) {
            views_.AddLine(lang.Message(zav::msgCtlLine) + std::to_string(i + 1) + ": " + command);
            break;
        }
    }
    return exUsage;
}

TExitStatus TCtlSession::SendList() {
    TController& c = *controller_;
    const auto lines = c.MemoSend().Lines();
    const auto total = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](const auto& l) { return !l.empty(); }));
    const zav::TLang& lang = c.Lang();
    TReplyWatch watch(c.lbBufRead());
    std::size_t answered = 0, shown = 0;
    const std::size_t errors = views_.Errors();
    const auto step = [&] {
        for (const auto& reply : watch.TakeNew())
            if (EndsRequest(reply))
                answered = std::min(answered + 1, total);
        if (io_.Progress && answered != shown) {
            shown = answered;
            views_.ShowProgress(lang.Message(zav::msgCtlLine) + std::to_string(answered) +
                                lang.Message(zav::msgCtlLineOf) + std::to_string(total));
        }
    };
    c.btnRunTRClick();
    ProcessUntil([&] { return !c.ExchangeRunning(); }, step);
    views_.EndProgress();
    return views_.Errors() == errors ? exOk : exControllerError;
}

TExitStatus TCtlSession::SendLine(const std::string& line) {
    TController& c = *controller_;
    c.MemoSend().SetLines({line});
    TReplyWatch watch(c.lbBufRead());
    const std::size_t errors = views_.Errors();
    std::vector<std::string> replies;
    const auto step = [&] {
        for (auto& reply : watch.TakeNew())
            replies.push_back(std::move(reply));
    };
    c.btnRunTRClick();
    ProcessUntil([&] { return !c.ExchangeRunning(); }, step);
    // The controller echoes the request first; what follows is its answer.
    bool echoSkipped = false;
    for (const auto& reply : replies) {
        if (!echoSkipped && reply == line + "*") {
            echoSkipped = true;
            continue;
        }
        io_.Out << reply << '\n';
    }
    io_.Out << std::flush;
    return views_.Errors() == errors ? exOk : exControllerError;
}

TExitStatus TCtlSession::Read(bool buffer, int coordinate, const std::string& output) {
    TController& c = *controller_;
    zav::TChanRead& read = c.ChanRead();
    const std::size_t errors = views_.Errors();
    c.CommonDatas().DirectControl = buffer; // the program reads the buffer in direct control
    read.SetReadCoordinate(coordinate);
    read.btnReadClick();
    ProcessUntil([&] { return !read.Reading(); }, [] {});
    bool complete = false;
    for (const auto& text : read.MemoChan())
        complete = complete || text.find("ED*") != std::string::npos;
    // Nothing is written from a read that ended badly: a short program file would pass
    // for the whole one.
    if (views_.Errors() != errors || !complete)
        return exControllerError;
    if (read.ReadHasWrongCommand()) {
        views_.ShowMessage(c.Lang().Message(zav::msgReadWrongCommand));
        return exControllerError;
    }
    if (output.empty()) {
        for (const auto& line : read.StringGridRead.Lines())
            io_.Out << line << '\n';
        io_.Out << std::flush;
        return exOk;
    }
    read.btnAddToListClick();
    return c.Files().SaveToFile(output) ? exOk : exUsage;
}

int RunCtl(const TCtlOptions& options, TCtlIo& io) {
    if (options.Command == TCommand::Help) {
        io.Out << CtlUsage();
        return exOk;
    }
    if (options.Command == TCommand::Ports) {
        const auto devices = zav::ListSerialDevices();
        for (const auto& device : devices)
            io.Out << device.Description() << '\n';
        io.Out << std::flush;
        return exOk;
    }
    TCtlSession session(io);
    if (options.Command == TCommand::Check)
        return session.Check(options.File, options.Svg);
    TController& c = session.Controller();
    // The caller's files are checked before the controller is touched.
    if (options.Command == TCommand::Send) {
        if (const TExitStatus status = session.LoadCommandFile(options.File); status != exOk)
            return status;
    }
    if (options.Command == TCommand::Read && !options.Output.empty() &&
        !zav::HasCommandFileExtension(options.Output)) {
        io.Err << c.Lang().Message(zav::msgBadFileName) << ": " << options.Output << std::endl;
        return exUsage;
    }
    if (const TExitStatus status = session.OpenPort(options); status != exOk)
        return status;
    switch (options.Command) {
    case TCommand::Send:
        return session.SendList();
    case TCommand::SendLine:
        return session.SendLine(options.Line);
    case TCommand::Read:
        return session.Read(options.Buffer, options.Coordinate, options.Output);
    default:
        return exUsage;
    }
}

int CtlMain(const std::vector<std::string>& args, TCtlIo& io) {
    TCtlOptions options;
    const std::string error = ParseCtlArgs(args, options);
    if (!error.empty()) {
        io.Err << "zavctl: " << error << "\n\n" << CtlUsage() << std::flush;
        return exUsage;
    }
    return RunCtl(options, io);
}

} // namespace zavctl
