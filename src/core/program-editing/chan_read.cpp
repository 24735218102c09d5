#include "program-editing/chan_read.h"

#include <algorithm>

#include "controller/controller.h"
#include "program-editing/chan_read_thread.h"
#include "program-editing/read_program.h"

namespace zav {

TChanRead::TChanRead(TController& controller) : controller_(controller) {}

TChanRead::~TChanRead() = default;

void TChanRead::AttachView(IChanReadView* view) {
    view_ = view;
    if (view_) {
        view_->SetReadEnabled(!Reading());
        view_->ShowMemoChan(memoChan_);
    }
}

void TChanRead::FormClose() {
    controller_.CommonDatas().ReadCapture = false;
    view_ = nullptr;
    ++session_;
    memoChan_.clear();
    StringGridRead.Clear();
    readHasWrongCommand_ = false;
}

void TChanRead::btnReadClick() {
    TCommonDatas& datas = controller_.CommonDatas();
    const TLang& lang = controller_.Lang();
    if (datas.Recording) {
        controller_.ShowMessage(lang.Message(msgReadRecording));
        return;
    }
    if (datas.Coord1State != 0) {
        controller_.ShowMessage(lang.Message(24));
        return;
    }
    // One writer on the port: the exchange's replies would be taken for the program.
    if (controller_.ExchangeRunning()) {
        controller_.ShowMessage(lang.Message(msgReadDuringExchange));
        return;
    }
    if (Reading())
        return;
    if (view_)
        view_->SetReadEnabled(false);
    ReadThread = std::make_unique<TChanReadThread>(
        controller_, [this, alive = std::weak_ptr<int>(alive_),
                      session = session_](std::string text, bool answered, bool lost) {
            if (!alive.expired())
                ReadEnded(session, std::move(text), answered, lost);
        });
}

void TChanRead::ReadEnded(std::uint64_t session, std::string text, bool answered, bool lost) {
    ReadThread.reset();
    if (view_)
        view_->SetReadEnabled(true);
    // The loss is the operator's one message; what arrived before it is not the program.
    if (session != session_ || lost) {
        controller_.CommonDatas().ReadCapture = false;
        return;
    }
    const TLang& lang = controller_.Lang();
    if (!answered) {
        controller_.Log(lang.Message(22), true);
        return;
    }
    if (!(view_ && view_->AddToEnd()))
        memoChan_.clear();
    if (text.find("ED*") == std::string::npos)
        controller_.Log(lang.Message(msgNoCorrectProgram));
    memoChan_.push_back(std::move(text));
    if (view_)
        view_->ShowMemoChan(memoChan_);
    controller_.ReadDoneEvent.Reset();
    controller_.ReplyEvent.Reset();
    controller_.CommonDatas().ReadCapture = false;
    ParseReadProgram();
}

void TChanRead::ParseReadProgram() {
    const TReadResult result = TReadProgramParser::Parse(memoChan_, controller_.Commands(),
                                                         controller_.CommonDatas(), StringGridRead);
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
    controller_.ShowMessage(controller_.Lang().Message(msgReadItemsRefused) + items);
}

void TChanRead::btnAddToListClick() {
    if (readHasWrongCommand_)
        controller_.Log(controller_.Lang().Message(msgReadWrongCommand), true);
    TCommandEditor& editor = controller_.Editor();
    editor.btnAllClearClick();
    editor.SetListHasWrongCommand(readHasWrongCommand_);
    controller_.MemoSend.Assign(StringGridRead.Rows());
}

void TChanRead::StringGridReadRowMoved(int from, int to) {
    const auto count = static_cast<int>(StringGridRead.Count());
    if (from < 1 || from > count || to < 1 || to > count + 1)
        return;
    StringGridRead.Move(static_cast<std::size_t>(from - 1),
                        static_cast<std::size_t>(std::min(to, count) - 1));
}

} // namespace zav
