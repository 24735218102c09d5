#pragma once
// The read-back window's logic: read the program stored in the controller (or its
// command buffer in direct control), show it as a command list and take it over into
// the send list. The window exists at most once and may close during a read: the
// result of that read is then dropped.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "program-editing/chan_read_thread.h"
#include "program-editing/command_list.h"
#include "program-editing/editing_context.h"

namespace zav {

class TCommandEditor;

class IChanReadView {
public:
    virtual ~IChanReadView() = default;
    virtual void SetReadEnabled(bool enabled) = 0; // btnRead
    virtual bool AddToEnd() const = 0;             // chbAddToEnd
    virtual void ShowMemoChan(const std::vector<std::string>& lines) = 0;
};

class TChanRead {
public:
    // exchangeRunning: whether a send list is being exchanged (one writer on the port).
    TChanRead(TEditingContext context, TCommandEditor& editor, TReadBackLinks links,
              std::function<bool()> exchangeRunning);
    ~TChanRead(); // a running read is stopped and its result dropped
    TChanRead(const TChanRead&) = delete;
    TChanRead& operator=(const TChanRead&) = delete;

    // The window was created (view) or closed (null). Closing drops the read list, the
    // raw texts and the result of a read that is still running.
    void AttachView(IChanReadView* view);
    void FormClose();

    TCommandList StringGridRead; // the read list: command texts and descriptions
    const std::vector<std::string>& MemoChan() const { return memoChan_; }
    bool ReadHasWrongCommand() const { return readHasWrongCommand_; }
    bool Reading() const { return ReadThread != nullptr; }

    // The coordinate (1..3) whose stored program the next read asks for; in direct
    // control the command buffer is read instead.
    void SetReadCoordinate(int coordinate);
    int ReadCoordinate() const { return coordinate_; }
    // Whether taking the list over puts LD n before it and ED after it, n the coordinate
    // it was read from, so that sending it records the program back there.
    void SetKeepRecording(bool keep) { keepRecording_ = keep; }

    void btnReadClick();
    void btnAddToListClick();
    void ParseReadProgram();
    // Grid rows count from 1; a row dropped onto the trailing empty row goes last.
    void StringGridReadRowMoved(int from, int to);

private:
    // from: the coordinate the read asked for, 0 for the command buffer.
    void ReadEnded(std::uint64_t session, std::string text, TReadOutcome outcome, int from);

    TEditingContext context_;
    TCommandEditor& editor_;
    TReadBackLinks links_;
    std::function<bool()> exchangeRunning_;
    IChanReadView* view_ = nullptr;
    std::vector<std::string> memoChan_;
    bool readHasWrongCommand_ = false;
    int coordinate_ = 1;
    bool keepRecording_ = false;
    int readFrom_ = 0;          // the coordinate of the last read's program; 0 for the buffer
    std::uint64_t session_ = 0; // counts window closes, so a late result finds no window
    std::unique_ptr<TChanReadThread> ReadThread;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace zav
