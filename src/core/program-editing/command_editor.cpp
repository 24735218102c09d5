#include "program-editing/command_editor.h"

#include "controller/controller.h"

namespace zav {

TCommandEditor::TCommandEditor(TController& controller) : controller_(controller) {}

void TCommandEditor::SetListHasWrongCommand(bool value) {
    listHasWrongCommand_ = value;
    if (view_)
        view_->SetSendEnabled(!value);
}

bool TCommandEditor::AddToolCommand(int index, const std::string& valueText) {
    try {
        return controller_.Commands().AddCommand(index, valueText, &controller_.MemoSend);
    } catch (const EConvertError&) {
        controller_.ShowMessage(controller_.Lang().Message(14));
        return false;
    }
}

void TCommandEditor::btnLD1Click() {
    if (!AddToolCommand(ciLD, "1"))
        return;
    // In direct control the list holds only the command being sent.
    const TCommonDatas& datas = controller_.CommonDatas();
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
    controller_.MemoRead.Clear();
    controller_.MemoSend.Clear();
    SetListHasWrongCommand(false);
}

void TCommandEditor::btnDelRawClick(int row) {
    TCommandList& list = controller_.MemoSend;
    if (row < 1 || static_cast<std::size_t>(row) > list.Count())
        return;
    list.Remove(static_cast<std::size_t>(row - 1));
}

void TCommandEditor::StringGridSendRowMoved(int from, int to) {
    TCommandList& list = controller_.MemoSend;
    const auto count = static_cast<int>(list.Count());
    if (from < 1 || from > count || to < 1 || to > count + 1)
        return;
    if (to == count + 1)
        list.Remove(static_cast<std::size_t>(from - 1));
    else
        list.Move(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - 1));
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
    controller_.CommonDatas().DirectControl = directControlBox_ && extendedMode_;
}

void TCommandEditor::btnlbbufclearClick() {
    controller_.lbBufRead.Clear();
    controller_.lbBufRead.Add("");
}

bool TCommandEditor::DirectControlOn() const {
    return controller_.CommonDatas().DirectControl;
}

void TCommandEditor::PressClearAll() {
    btnAllClearClick();
}

void TCommandEditor::PressSend() {
    controller_.btnRunTRClick();
}

} // namespace zav
