#include "command-language/zav_commands.h"

#include <algorithm>
#include <optional>

#include "state/common_datas.h"
#include "state/number_format.h"

namespace zav {

namespace {
const char* const Mnemonics[CatalogueSize] = {
    "",   "ST", "LD", "ED", "BG", "EN", "MV", "SD", "SS", "AL", "RS", "SP", "DS", "LL", "JP", "DL",
    "DR", "SF", "WL", "WH", "CF", "",   "",   "PS", "MH", "ML", "HM", "LB", "SB", "RB", "RD", "SC",
};

// Limits of the motion rows are divided by the scale in extended precision.
std::string Limit(long double value, double scale) {
    return FormatGeneral(static_cast<double>(value / static_cast<long double>(scale)));
}
} // namespace

TZavCommands::TZavCommands(TCommonDatas& datas, TLang& lang, IMessageBox* messageBox,
                           IMainWindowHooks* hooks)
    : datas_(datas), lang_(lang), messageBox_(messageBox), hooks_(hooks) {}

void TZavCommands::AttachView(IMessageBox* messageBox, IMainWindowHooks* hooks) {
    messageBox_ = messageBox;
    hooks_ = hooks;
}

const CommandEntry& TZavCommands::Commands(int index) const {
    if (index < 0 || index >= CatalogueSize)
        index = ciUnknown;
    return commands_[static_cast<std::size_t>(index)];
}

void TZavCommands::BuildCatalogue() {
    auto m = [this](int n) { return lang_.Message(n); };
    const bool units = hooks_ && hooks_->UnitsIndex() != 0;
    const double scale = datas_.Scale;
    auto row = [this](int index) -> CommandEntry& {
        CommandEntry& entry = commands_[static_cast<std::size_t>(index)];
        entry.Mnemonic = Mnemonics[index];
        return entry;
    };
    // A row with limits and a range message built from them.
    auto limits = [&](int index, std::string min, std::string max, const std::string& prefix) {
        CommandEntry& entry = commands_[static_cast<std::size_t>(index)];
        entry.MinText = std::move(min);
        entry.MaxText = std::move(max);
        entry.RangeMessage = prefix + entry.MinText + m(msgRangeTo) + entry.MaxText;
    };
    // A row's label is written whenever the row has one, even when the current
    // language leaves its text empty, so no text of the previous language survives.
    auto fixed = [&](int index, int description, std::optional<std::string> label = {}) {
        CommandEntry& entry = row(index);
        entry.Description = m(description);
        if (label)
            entry.ParamLabel = std::move(*label);
    };

    CommandEntry& unknown = commands_[ciUnknown];
    unknown.Mnemonic.clear();
    unknown.Description = m(msgDescUnknown);

    fixed(ciST, msgDescST, m(msgDescCoordinate));
    commands_[ciST].MinText = "1";
    commands_[ciST].MaxText = "3";
    fixed(ciPS, msgDescPS, m(msgDescCoordinate));
    commands_[ciPS].MinText = "1";
    commands_[ciPS].MaxText = "3";
    fixed(ciLD, msgDescLD, m(msgDescCoordinate));
    commands_[ciLD].MinText = "1";
    commands_[ciLD].MaxText = "3";
    fixed(ciED, msgDescED);
    fixed(ciBG, msgDescBG);
    fixed(ciEN, msgDescEN);

    const std::string stepsLabel = units ? " " + datas_.UnitsName : m(msgDescSteps);
    const std::string stepsRange =
        units ? m(msgRangeEnter) + m(msgRangeNumberFrom) : m(msgRangeSteps);
    const std::string speedLabel =
        units ? " " + datas_.UnitsName + m(msgDescPerSec) : m(msgDescStepsPerSec);

    fixed(ciMV, msgDescMV);
    commands_[ciMV].ParamLabel = stepsLabel;
    limits(ciMV, Limit(1, scale), Limit(10000000, scale), stepsRange);

    fixed(ciSD, msgDescSD);
    commands_[ciSD].ParamLabel = speedLabel;
    limits(ciSD, Limit(1, scale), Limit(10000, scale), m(msgRangeSpeed));
    fixed(ciSS, msgDescSS);
    commands_[ciSS].ParamLabel = speedLabel;
    limits(ciSS, Limit(1, scale), Limit(2000, scale), m(msgRangeStartSpeed));
    fixed(ciAL, msgDescAL);
    limits(ciAL, Limit(-1000, scale), Limit(1000, scale), m(msgRangeAcceleration));

    fixed(ciRS, msgDescRS);
    fixed(ciSP, msgDescSP, m(msgDescMs));
    limits(ciSP, "1", "99999999", m(msgRangePause));
    fixed(ciDS, msgDescDS);
    fixed(ciLL, msgDescLL);
    fixed(ciJP, msgDescJP, m(msgDescTimes));
    limits(ciJP, "0", "255", m(msgRangeCycles));
    fixed(ciDL, msgDescDL);
    fixed(ciDR, msgDescDR);
    fixed(ciSF, msgDescSF, " ");
    limits(ciSF, "1", "4", m(msgRangeOutput));
    fixed(ciWL, msgDescWL, " ");
    limits(ciWL, "1", "4", m(msgRangeInput));
    fixed(ciWH, msgDescWH, " ");
    limits(ciWH, "1", "4", m(msgRangeInput));
    fixed(ciCF, msgDescCF, " ");
    limits(ciCF, "1", "4", m(msgRangeOutput));
    fixed(ciMH, msgDescMH);
    limits(ciMH, "1", "4", m(msgRangeInput));
    fixed(ciML, msgDescML);
    limits(ciML, "1", "4", m(msgRangeInput));
    fixed(ciHM, msgDescHM);
    fixed(ciLB, msgDescLB);
    fixed(ciSB, msgDescSB, m(msgDescTimes));
    limits(ciSB, "1", "250", m(msgRangeCycles));
    row(ciRB).Description = "Buffer: ";
    row(ciRD).Description = "EEPROM: ";
    commands_[ciRD].MinText = "1";
    commands_[ciRD].MaxText = "3";

    fixed(ciSC, msgDescSC);
    commands_[ciSC].ParamLabel = stepsLabel;
    limits(ciSC, Limit(1, scale), Limit(2147483647, scale), stepsRange);
}

bool TZavCommands::AddCommand(int index, const std::string& valueText, ICommandSink* list,
                              TDirect directMode) {
    const bool direct =
        directMode == TDirect::FollowSwitch && directControl_ && directControl_->DirectControlOn();
    if (direct)
        directControl_->PressClearAll();
    if (index < 0 || index >= CatalogueSize)
        index = ciUnknown;
    const CommandEntry& entry = commands_[static_cast<std::size_t>(index)];
    const std::string value = index == ciUnknown ? "no" : valueText;
    lastLimited_ = false;

    std::string command, listText;
    if (value != "no") {
        double v, min, max;
        if (!TryParseFloat(value, v) || !TryParseFloat(entry.MinText, min) ||
            !TryParseFloat(entry.MaxText, max)) {
            if (messageBox_)
                messageBox_->ShowMessage(entry.RangeMessage.empty() ? "?" : entry.RangeMessage);
            return false;
        }
        if (v < min || v > max) {
            if (messageBox_)
                messageBox_->ShowMessage(entry.RangeMessage);
            return false;
        }
        std::int32_t steps;
        std::string shown;
        if (index >= ciMV && index <= ciAL) {
            const std::int32_t rounded = datas_.RoundSteps(v, datas_.Scale);
            steps = ClampSteps(index, rounded);
            lastLimited_ = steps != rounded;
            // The list shows what is sent, rounded and limited, in the units in force.
            const bool units = hooks_ && hooks_->UnitsIndex() != 0;
            shown = units ? FormatGeneral(
                                static_cast<double>(steps / static_cast<long double>(datas_.Scale)))
                          : std::to_string(steps);
        } else if (TryParseInt(value, steps)) {
            shown = std::to_string(steps);
        } else {
            throw EConvertError("'" + value + "' is not a valid integer value");
        }
        command = entry.Mnemonic + (index == ciAL && steps > 0 ? "+" : "") + std::to_string(steps);
        listText = entry.Description + shown + entry.ParamLabel;
    } else {
        command = entry.Mnemonic;
        listText = entry.Description;
    }
    if (list)
        list->Append(std::move(command), std::move(listText));
    if (direct)
        directControl_->PressSend();
    return true;
}

std::string TZavCommands::LimitedNote(const std::string& typed, const std::string& command) const {
    return lang_.Message(msgValueLimited) + typed + lang_.Message(msgValueSentAs) + command;
}

bool TZavCommands::StepRange(int index, std::int64_t& min, std::int64_t& max) {
    switch (index) {
    case ciMV:
        min = 1, max = 10000000;
        return true;
    case ciSD:
        min = 1, max = 10000;
        return true;
    case ciSS:
        min = 0, max = 2000;
        return true;
    case ciAL:
        min = -500, max = 500;
        return true;
    default:
        return false;
    }
}

std::int32_t TZavCommands::ClampSteps(int index, std::int32_t steps) {
    std::int64_t min, max;
    if (!StepRange(index, min, max))
        return steps;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(steps, min, max));
}

bool TZavCommands::OutOfRange(const std::string& command) {
    std::int64_t min, max, value;
    // "MV" alone is the permanent motion.
    if (command.size() <= 2 || !StepRange(FindCommand(command), min, max))
        return false;
    return !TryParseInt64(command.substr(2), value) || value < min || value > max;
}

int TZavCommands::FindCommand(const std::string& text) {
    if (text.size() < 2)
        return ciUnknown;
    const char a = text[0], b = text[1];
    for (int index = 1; index < CatalogueSize; ++index) {
        const char* mnemonic = Mnemonics[index];
        if (mnemonic[0] == a && mnemonic[0] != '\0' && mnemonic[1] == b)
            return index;
    }
    // The reserved rows have no mnemonic in the table but are found by name.
    if (a == 'O' && b == 'N')
        return ciON;
    if (a == 'O' && b == 'F')
        return ciOF;
    return ciUnknown;
}

} // namespace zav
