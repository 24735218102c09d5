#pragma once
// The command catalogue: one row per controller command with its mnemonic, the texts
// of its command-list line and its parameter range, and the two operations on command
// text, AddCommand and FindCommand.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "command-language/command_sink.h"
#include "localisation/lang.h"
#include "state/common_datas.h"
#include "state/views.h"

namespace zav {

struct CommandEntry {
    std::string Mnemonic;
    std::string Description;
    std::string ParamLabel;
    std::string RangeMessage;
    std::string MinText;
    std::string MaxText;
};

// Catalogue indexes used as constants by the callers.
enum CatalogueIndex : int {
    ciUnknown = 0,
    ciST = 1,
    ciLD = 2,
    ciED = 3,
    ciBG = 4,
    ciEN = 5,
    ciMV = 6,
    ciSD = 7,
    ciSS = 8,
    ciAL = 9,
    ciRS = 10,
    ciSP = 11,
    ciDS = 12,
    ciLL = 13,
    ciJP = 14,
    ciDL = 15,
    ciDR = 16,
    ciSF = 17,
    ciWL = 18,
    ciWH = 19,
    ciCF = 20,
    ciON = 21,
    ciOF = 22,
    ciPS = 23,
    ciMH = 24,
    ciML = 25,
    ciHM = 26,
    ciLB = 27,
    ciSB = 28,
    ciRB = 29,
    ciRD = 30,
    ciSC = 31,
};
inline constexpr int CatalogueSize = 32;

// Direct control: every command built is sent at once, and the list holds only it.
class IDirectControl {
public:
    virtual ~IDirectControl() = default;
    virtual bool DirectControlOn() const = 0;
    virtual void PressClearAll() = 0;
    virtual void PressSend() = 0;
};

// Whether AddCommand follows the Direct Control switch (the tool panel) or builds a
// list that its caller sends itself (simple mode).
enum class TDirect { FollowSwitch, Off };

class TZavCommands : public IScaleDependent {
public:
    // hooks may be null: units mode steps, direct control off.
    TZavCommands(TCommonDatas& datas, TLang& lang, IMessageBox* messageBox,
                 IMainWindowHooks* hooks);

    void BuildCatalogue();
    // The ranges of the motion rows follow the scale.
    void ScaleChanged() override { BuildCatalogue(); }
    const CommandEntry& Commands(int index) const;

    // Range-checks valueText ("no": no parameter) against row index, converts motion
    // values to steps and appends the command text with its description to list (which
    // may be null). Returns whether a row was appended. Range failures show the row's
    // RangeMessage; a non-integer value on a non-motion row throws EConvertError,
    // adding nothing.
    bool AddCommand(int index, const std::string& valueText, ICommandSink* list,
                    TDirect direct = TDirect::FollowSwitch);
    // The row of the command's first two letters, 0 if none.
    static int FindCommand(const std::string& text);
    // A motion row's step count (MV, SD, SS, AL) clipped to what the controller takes;
    // other rows' values are returned as they are.
    static std::int32_t ClampSteps(int index, std::int32_t steps);
    // The step counts the controller takes for a motion row; false for other rows.
    static bool StepRange(int index, std::int64_t& min, std::int64_t& max);
    // A command line whose value the controller does not take: a motion command (MV, SD,
    // SS, AL) with a parameter that is no whole number within its step range.
    static bool OutOfRange(const std::string& command);
    // Whether the last command AddCommand built was limited to the controller's range,
    // and the log line that says so.
    bool LastValueLimited() const { return lastLimited_; }
    std::string LimitedNote(const std::string& typed, const std::string& command) const;

    void AttachView(IMessageBox* messageBox, IMainWindowHooks* hooks);
    void AttachDirectControl(IDirectControl* directControl) { directControl_ = directControl; }

private:
    TCommonDatas& datas_;
    TLang& lang_;
    IMessageBox* messageBox_;
    IMainWindowHooks* hooks_;
    IDirectControl* directControl_ = nullptr;
    std::array<CommandEntry, CatalogueSize> commands_;
    bool lastLimited_ = false;
};

} // namespace zav
