#include "settings/program_settings_file.h"

#include <algorithm>
#include <array>

#include "state/common_datas.h"
#include "state/encoded_stream.h"
#include "state/number_format.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

namespace {
using TValues = TProgramSettings;
using TRule = TLineRule<TValues>;

bool ReadItemIndex(const std::string& text, std::int32_t& index) {
    if (!ParseInteger(text, index))
        return false;
    index = std::clamp(index, -1, TProgramSettingsFile::LastItem);
    return true;
}

bool UnitsSaved(const TValues& v) {
    return v.SaveUnits;
}

#define ZAV_BOOLEAN_LINE(member)                                                                   \
    TRule {                                                                                        \
#member, [](const std::string& t, TValues& v) { return ParseBoolean(t, v.member); },       \
            [](const TValues& v) { return FormatBoolean(v.member); }       \
    }

// Lines 5 and 6 hold the program settings flag before the port properties flag.
// clang-format off
const std::array<TRule, 21> ProgramSettingsTable{{
    ZAV_BOOLEAN_LINE(ShowPortLog),
    ZAV_BOOLEAN_LINE(ShowWorkLog),
    ZAV_BOOLEAN_LINE(ShowLoadLog),
    ZAV_BOOLEAN_LINE(SavePortLog),
    ZAV_BOOLEAN_LINE(SaveWorkLog),
    ZAV_BOOLEAN_LINE(SaveProgProps),
    ZAV_BOOLEAN_LINE(SavePortProps),
    ZAV_BOOLEAN_LINE(SaveErrProps),
    {"ControlMode",
     [](const std::string& t, TValues& v) { return ReadItemIndex(t, v.ControlMode); },
     [](const TValues& v) { return std::to_string(v.ControlMode); }},
    ZAV_BOOLEAN_LINE(AutoAddEN),
    ZAV_BOOLEAN_LINE(AutoAddBG),
    ZAV_BOOLEAN_LINE(SaveUnits),
    ZAV_BOOLEAN_LINE(SaveUnitsName),
    ZAV_BOOLEAN_LINE(SaveUnitsScale),
    {"UnitsName",
     [](const std::string& t, TValues& v) { v.UnitsName = t; return true; },
     [](const TValues& v) { return v.UnitsName; }, UnitsSaved},
    // Written with the system's separator, read with either: a file moves between
    // systems. A negative scale would turn every range of the catalogue upside down: it
    // takes the default, as does a rounding mode the program does not know.
    {"Scale",
     [](const std::string& t, TValues& v) {
         double scale = 0;
         if (!ParseAnySeparator(t, scale) || !TCommonDatas::ScaleAccepted(scale))
             return false;
         v.Scale = scale;
         return true;
     },
     [](const TValues& v) { return FormatGeneral(v.Scale); }, UnitsSaved, false,
     [](const std::string& t, TValues& v) {
         double scale = 0;
         if (!ParseAnySeparator(t, scale))
             return false;
         v.Scale = TValues{}.Scale;
         return true;
     }},
    {"Rounding",
     [](const std::string& t, TValues& v) {
         std::int32_t mode = 0;
         if (!ParseInteger(t, mode) || mode < 0 || mode > 2)
             return false;
         v.Rounding = static_cast<std::uint8_t>(mode);
         return true;
     },
     [](const TValues& v) { return std::to_string(v.Rounding); }, UnitsSaved, false,
     [](const std::string& t, TValues& v) {
         std::int32_t mode = 0;
         if (!ParseInteger(t, mode))
             return false;
         v.Rounding = TValues{}.Rounding;
         return true;
     }},
    {"UnitsIndex",
     [](const std::string& t, TValues& v) { return ReadItemIndex(t, v.UnitsIndex); },
     [](const TValues& v) { return std::to_string(v.UnitsIndex); }, UnitsSaved},
    {"Language",
     [](const std::string& t, TValues& v) { v.Language = t; return true; },
     [](const TValues& v) { return v.Language; }},
    // Added after the language, so that programs that know only the lines above read
    // a newer file and ignore this.
    {"ReconnectLostDevice",
     [](const std::string& t, TValues& v) { return ParseBoolean(t, v.ReconnectLostDevice); },
     [](const TValues& v) { return FormatBoolean(v.ReconnectLostDevice); }, nullptr, true},
    {"AskBeforeSendingWarnings",
     [](const std::string& t, TValues& v) { return ParseBoolean(t, v.AskBeforeSendingWarnings); },
     [](const TValues& v) { return FormatBoolean(v.AskBeforeSendingWarnings); }, nullptr, true},
}};
// clang-format on
#undef ZAV_BOOLEAN_LINE
} // namespace

TProgramSettingsFile::TProgramSettingsFile(TCommonDatas& datas, ISettingsRadioGroups* groups)
    : datas_(datas), groups_(groups) {}

std::string TProgramSettingsFile::FileName() {
    return DataDir() + "Data/prp.dat";
}

std::vector<std::string> TProgramSettingsFile::Lines(const TProgramSettings& values) {
    return WriteSettingsLines(ProgramSettingsTable, values);
}

bool TProgramSettingsFile::Read(const std::vector<std::string>& lines, TProgramSettings& values,
                                std::vector<std::size_t>* refused) {
    // Without the units lines, the units keep what they held.
    return ReadSettingsLines(ProgramSettingsTable, lines, values, refused);
}

TProgramSettings TProgramSettingsFile::Current() const {
    const TCommonDatas& d = datas_;
    TProgramSettings v;
    v.ShowPortLog = d.ShowPortLog;
    v.ShowWorkLog = d.ShowWorkLog;
    v.ShowLoadLog = d.ShowLoadLog;
    v.SavePortLog = d.SavePortLog;
    v.SaveWorkLog = d.SaveWorkLog;
    v.SaveProgProps = d.SaveProgProps;
    v.SavePortProps = d.SavePortProps;
    v.SaveErrProps = d.SaveErrProps;
    v.ControlMode = groups_ ? groups_->ControlModeIndex() : 0;
    v.AutoAddEN = d.AutoAddEN;
    v.AutoAddBG = d.AutoAddBG;
    v.SaveUnits = d.SaveUnits;
    v.SaveUnitsName = d.SaveUnitsName;
    v.SaveUnitsScale = d.SaveUnitsScale;
    v.UnitsName = d.UnitsName;
    v.Scale = d.Scale;
    v.Rounding = d.Rounding;
    v.UnitsIndex = groups_ ? groups_->UnitsChoiceIndex() : 0;
    v.Language = d.Language;
    v.ReconnectLostDevice = d.ReconnectLostDevice;
    v.AskBeforeSendingWarnings = d.AskBeforeSendingWarnings;
    return v;
}

void TProgramSettingsFile::Apply(const TProgramSettings& v) {
    TCommonDatas& d = datas_;
    d.ShowPortLog = v.ShowPortLog;
    d.ShowWorkLog = v.ShowWorkLog;
    d.ShowLoadLog = v.ShowLoadLog;
    d.SavePortLog = v.SavePortLog;
    d.SaveWorkLog = v.SaveWorkLog;
    d.SaveProgProps = v.SaveProgProps;
    d.SavePortProps = v.SavePortProps;
    d.SaveErrProps = v.SaveErrProps;
    if (groups_ && groups_->ControlModeIndex() != v.ControlMode)
        groups_->SetControlModeIndex(v.ControlMode);
    d.AutoAddEN = v.AutoAddEN;
    d.AutoAddBG = v.AutoAddBG;
    d.SaveUnits = v.SaveUnits;
    d.SaveUnitsName = v.SaveUnitsName;
    d.SaveUnitsScale = v.SaveUnitsScale;
    d.UnitsName = v.UnitsName;
    d.SetScale(v.Scale);
    d.SetRounding(v.Rounding);
    if (groups_ && groups_->UnitsChoiceIndex() != v.UnitsIndex)
        groups_->SetUnitsChoiceIndex(v.UnitsIndex);
    d.Language = v.Language;
    d.ReconnectLostDevice = v.ReconnectLostDevice;
    d.AskBeforeSendingWarnings = v.AskBeforeSendingWarnings;
}

void TProgramSettingsFile::LoadProgramSettings(const TReportDamaged& reportDamaged,
                                               const TReportDefaults& reportDefaults) {
    const std::string fileName = FileName();
    std::vector<std::string> lines;
    try {
        lines = LoadSettingsLines(fileName);
    } catch (const EFileStreamError&) {
        if (reportDamaged)
            reportDamaged(fileName);
    }
    ApplyLines(lines, reportDamaged, reportDefaults);
}

void TProgramSettingsFile::ApplyLines(const std::vector<std::string>& lines,
                                      const TReportDamaged& reportDamaged,
                                      const TReportDefaults& reportDefaults) {
    TProgramSettings values = Current();
    std::vector<std::size_t> refused;
    const bool complete = Read(lines, values, &refused);
    Apply(values);
    if (!refused.empty() && reportDefaults) {
        std::vector<std::pair<std::size_t, std::string>> named;
        for (const std::size_t line : refused)
            named.emplace_back(line, lines[line]);
        reportDefaults(FileName(), named);
    }
    if (!complete && reportDamaged)
        reportDamaged(FileName());
}

void TProgramSettingsFile::SaveProgramSettings() const {
    SaveLines(FileName(), Lines(Current()), true);
}

} // namespace zav
