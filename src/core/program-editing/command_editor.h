#pragma once
// The editing side of the extended mode: the tool-panel and program buttons append
// commands to the send list, a command can be removed or dragged to another row, the
// list can be cleared, and in direct control every command is sent the moment it is
// built. The window forwards its clicks here and shows the list through its model.

#include <functional>
#include <string>

#include "command-language/zav_commands.h"
#include "program-editing/editing_context.h"

namespace zav {

// The editor's controls that are not views of a list.
class ICommandEditorView {
public:
    virtual ~ICommandEditorView() = default;
    virtual void SetSendEnabled(bool enabled) = 0;
};

class TCommandEditor : public IDirectControl {
public:
    // What the editor does to the window's other lists and to the exchange.
    struct TActions {
        std::function<void()> ClearLoading;   // the "Loading:" memo
        std::function<void()> ClearResponses; // the "Response:" list, to one empty line
        std::function<void()> Send;           // the Send action
    };

    TCommandEditor(TEditingContext context, TActions actions);

    void AttachView(ICommandEditorView* view) { view_ = view; }

    bool ListHasWrongCommand() const { return listHasWrongCommand_; }
    // Send is enabled exactly while the list holds no unknown or empty command and no
    // value outside its command's range.
    void SetListHasWrongCommand(bool value);
    // After the list's values changed (a scale change, a line removed or moved).
    void UpdateSendEnabled();
    // Send's guard: a list with a value outside its command's range is not sent, and
    // the operation log names its lines. True when the list was refused.
    bool RefuseOutOfRange();

    // A tool-panel button: row index with the text of its field ("no" for none). A
    // value that is not a whole number shows message 14; nothing leaves as an exception.
    bool AddToolCommand(int index, const std::string& valueText);
    void btnLD1Click();
    void btnEDClick();
    void btnSTClick();
    void btnPS1Click();

    void btnAllClearClick();
    // Grid rows count from 1 (row 0 is the header); the row after the last command is
    // the trailing empty row.
    void btnDelRawClick(int row);
    // The operator dragged grid row from onto grid row to. Dropped onto the trailing
    // empty row, the command is deleted; the trailing row itself cannot be moved.
    void StringGridSendRowMoved(int from, int to);
    void chbDirectControlClick(bool checked);
    // The control mode of the window: direct control acts only in extended mode, so the
    // box keeps its state in simple mode but has no effect there.
    void SetExtendedMode(bool extended);
    void btnlbbufclearClick();

    // IDirectControl
    bool DirectControlOn() const override;
    void PressClearAll() override;
    void PressSend() override;

private:
    void ApplyDirectControl();

    TEditingContext context_;
    TActions actions_;
    ICommandEditorView* view_ = nullptr;
    bool listHasWrongCommand_ = false;
    bool directControlBox_ = false;
    // Until the window says otherwise: the box is only ever ticked in extended mode.
    bool extendedMode_ = true;
};

} // namespace zav
