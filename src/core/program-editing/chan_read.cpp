#include "program-editing/chan_read.h"

#include <algorithm>

#include "command-language/zav_commands.h"
#include "localisation/lang.h"
#include "program-editing/command_editor.h"
#include "program-editing/read_program.h"
#include "serial/event.h"
#include "state/common_datas.h"
#include "state/log_dispatch.h"

namespace zav {

TChanRead::TChanRead(TEditingContext context, TCommandEditor& editor, TReadBackLinks links,
                     std::function<bool()> exchangeRunning)
    : context_(context), editor_(editor), links_(links),
      exchangeRunning_(std::move(exchangeRunning)) {}

TChanRead::~TChanRead() = default;

void TChanRead::AttachView(IChanReadView* view) {
    view_ = view;
    if (view_) {
        view_->SetReadEnabled(!Reading());
        view_->ShowMemoChan(memoChan_);
    }
}

void TChanRead::FormClose() {
    context_.Datas.ReadCapture = false;
    view_ = nullptr;
    ++session_;
    memoChan_.clear();
    StringGridRead.Clear();
    readHasWrongCommand_ = false;
}

void TChanRead::btnReadClick() {
    const TCommonDatas& datas = context_.Datas;
    const TLang& lang = context_.Lang;
    if (datas.Recording) {
        context_.Log.ShowMessage(lang.Message(msgReadRecording));
        return;
    }
    const std::atomic<std::uint8_t>* states[] = {&datas.Coord1State, &datas.Coord2State,
                                                 &datas.Coord3State};
    if (datas.DirectControl ? datas.Coord1State != 0 : *states[coordinate_ - 1] != 0) {
        context_.Log.ShowMessage(lang.Message(msgNotInStandby));
        return;
    }
    // One writer on the port: the exchange's replies would be taken for the program.
    if (exchangeRunning_()) {
        context_.Log.ShowMessage(lang.Message(msgReadDuringExchange));
        return;
    }
    if (Reading())
        return;
    if (view_)
        view_->SetReadEnabled(false);
    const int from = datas.DirectControl ? 0 : coordinate_;
    ReadThread = std::make_unique<TChanReadThread>(
        links_,
        [this, alive = std::weak_ptr<int>(alive_), session = session_, from](std::string text,
                                                                             TReadOutcome outcome) {
            if (!alive.expired())
                ReadEnded(session, std::move(text), outcome, from);
        },
        coordinate_);
}

void TChanRead::SetReadCoordinate(int coordinate) {
    coordinate_ = std::clamp(coordinate, 1, 3);
}

void TChanRead::ReadEnded(std::uint64_t session, std::string text, TReadOutcome outcome, int from) {
    ReadThread.reset();
    if (view_)
        view_->SetReadEnabled(true);
    // The loss is the operator's one message; what arrived before it is not the program.
    if (session != session_ || outcome == TReadOutcome::PortLost) {
        context_.Datas.ReadCapture = false;
        return;
    }
    const TLang& lang = context_.Lang;
    if (outcome == TReadOutcome::NoAnswer) {
        context_.Log.Log(lang.Message(msgNoReply), true);
        return;
    }
    if (!(view_ && view_->AddToEnd()))
        memoChan_.clear();
    if (outcome == TReadOutcome::Incomplete)
        context_.Log.Log(lang.Message(msgNoCorrectProgram));
    memoChan_.push_back(std::move(text));
    readFrom_ = from;
    if (view_)
        view_->ShowMemoChan(memoChan_);
    links_.ReadDone.Reset();
    links_.ReplyEvent.Reset();
    context_.Datas.ReadCapture = false;
    ParseReadProgram();
}

void TChanRead::ParseReadProgram() {
    const TReadResult result =
        TReadProgramParser::Parse(memoChan_, context_.Commands, context_.Datas, StringGridRead);
    readHasWrongCommand_ = result.HasWrongCommand;
    if (result.Refused.empty())
        return;
    // One message for the whole read, however many items were refused.
    std::string items;
    for (std::size_t i = 0; i < result.Refused.size() && i < 10; ++i) {
        std::string item = result.Refused[i];
        if (item.size() > 24) {
            std::size_t cut = 24;
            while (cut > 0 && (static_cast<unsigned char>(item[cut]) & 0xC0) == 0x80)
                --cut; // not inside a UTF-8 character
            item = item.substr(0, cut) + "...";
        }
        items += (i ? ", " : "") + item;
    }
    if (result.Refused.size() > 10)
        items += ", ... (" + std::to_string(result.Refused.size()) + ")";
    context_.Log.ShowMessage(context_.Lang.Message(msgReadItemsRefused) + items);
}

void TChanRead::btnAddToListClick() {
    if (readHasWrongCommand_)
        context_.Log.Log(context_.Lang.Message(msgReadWrongCommand), true);
    editor_.btnAllClearClick();
    editor_.SetListHasWrongCommand(readHasWrongCommand_);
    std::vector<TCommandRow> rows = StringGridRead.Rows();
    if (keepRecording_ && readFrom_ != 0 && !rows.empty()) {
        const TZavCommands& commands = context_.Commands;
        const CommandEntry& ld = commands.Commands(ciLD);
        const std::string n = std::to_string(readFrom_);
        rows.insert(rows.begin(), {"LD" + n, ld.Description + n + ld.ParamLabel});
        rows.push_back({"ED", commands.Commands(ciED).Description});
    }
    context_.MemoSend.Assign(std::move(rows));
}

void TChanRead::StringGridReadRowMoved(int from, int to) {
    const auto count = static_cast<int>(StringGridRead.Count());
    if (from < 1 || from > count || to < 1 || to > count + 1)
        return;
    StringGridRead.Move(static_cast<std::size_t>(from - 1),
                        static_cast<std::size_t>(std::min(to, count) - 1));
}

} // namespace zav
