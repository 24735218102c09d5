#include "program-editing/command_editor.h"

#include "program-editing/command_list.h"
#include "state/common_datas.h"
#include "state/log_dispatch.h"

namespace zav {

TCommandEditor::TCommandEditor(TEditingContext context, TActions actions)
    : context_(context), actions_(std::move(actions)) {}

void TCommandEditor::SetListHasWrongCommand(bool value) {
    listHasWrongCommand_ = value;
    UpdateSendEnabled();
}

void TCommandEditor::UpdateSendEnabled() {
    if (view_)
        view_->SetSendEnabled(!listHasWrongCommand_ && OutOfRangeLines(context_.MemoSend).empty());
}

bool TCommandEditor::RefuseOutOfRange() {
    const TCommandList& list = context_.MemoSend;
    const auto outside = OutOfRangeLines(list);
    if (outside.empty())
        return false;
    context_.Log.Log(context_.Lang.Message(msgListNotSentOutOfRange) + list.Named(outside), true);
    return true;
}

bool TCommandEditor::AddToolCommand(int index, const std::string& valueText) {
    TZavCommands& commands = context_.Commands;
    TCommandList& list = context_.MemoSend;
    try {
        if (!commands.AddCommand(index, valueText, &list))
            return false;
    } catch (const EConvertError&) {
        context_.Log.ShowMessage(context_.Lang.Message(msgBadParameter));
        return false;
    }
    // In direct control the list may be sent and cleared again by now.
    if (commands.LastValueLimited() && !list.Empty())
        context_.Log.Log(commands.LimitedNote(valueText, list.Row(list.Count() - 1).Command));
    return true;
}

void TCommandEditor::btnLD1Click() {
    if (!AddToolCommand(ciLD, "1"))
        return;
    // In direct control the list holds only the command being sent.
    const TCommonDatas& datas = context_.Datas;
    if (datas.AutoAddBG && !datas.DirectControl)
        AddToolCommand(ciBG, "no");
    if (datas.AutoAddEN && !datas.DirectControl)
        AddToolCommand(ciEN, "no");
}

void TCommandEditor::btnEDClick() {
    AddToolCommand(ciED, "no");
}

void TCommandEditor::btnSTClick() {
    AddToolCommand(ciST, "no");
}

void TCommandEditor::btnPS1Click() {
    AddToolCommand(ciPS, "1");
}

void TCommandEditor::btnAllClearClick() {
    actions_.ClearLoading();
    context_.MemoSend.Clear();
    SetListHasWrongCommand(false);
}

void TCommandEditor::btnDelRawClick(int row) {
    TCommandList& list = context_.MemoSend;
    if (row < 1 || static_cast<std::size_t>(row) > list.Count())
        return;
    list.Remove(static_cast<std::size_t>(row - 1));
    UpdateSendEnabled();
}

void TCommandEditor::StringGridSendRowMoved(int from, int to) {
    TCommandList& list = context_.MemoSend;
    const auto count = static_cast<int>(list.Count());
    if (from < 1 || from > count || to < 1 || to > count + 1)
        return;
    if (to == count + 1) {
        list.Remove(static_cast<std::size_t>(from - 1));
        UpdateSendEnabled();
    } else {
        list.Move(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - 1));
    }
}

void TCommandEditor::chbDirectControlClick(bool checked) {
    directControlBox_ = checked;
    ApplyDirectControl();
    btnAllClearClick();
}

void TCommandEditor::SetExtendedMode(bool extended) {
    extendedMode_ = extended;
    ApplyDirectControl();
}

void TCommandEditor::ApplyDirectControl() {
    // The shared flag is what building, reply processing and the read-back obey: a box
    // hidden with its panel must change nothing of what the simple mode sends or shows.
    context_.Datas.DirectControl = directControlBox_ && extendedMode_;
}

void TCommandEditor::btnlbbufclearClick() {
    actions_.ClearResponses();
}

bool TCommandEditor::DirectControlOn() const {
    return context_.Datas.DirectControl;
}

void TCommandEditor::PressClearAll() {
    btnAllClearClick();
}

void TCommandEditor::PressSend() {
    actions_.Send();
}

} // namespace zav
