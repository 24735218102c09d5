#pragma once
// Data/prp.dat: which logs and panels are shown, which files are saved on closing, the
// automatic commands of a recorded program, the user unit, the control mode and the
// language. 19 lines, or 15 without the units lines, then the lines this program added
// (reconnecting a lost device, asking before sending a list with warnings), which older files lack;
// encoded on disk.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_table.h"

namespace zav {

class TCommonDatas;

// The two radio groups of the main window whose choice the file keeps. Setting an index
// that differs from the current one acts as the operator's click on the group.
class ISettingsRadioGroups {
public:
    virtual ~ISettingsRadioGroups() = default;
    virtual int ControlModeIndex() const = 0;
    virtual void SetControlModeIndex(int index) = 0;
    virtual int UnitsChoiceIndex() const = 0;
    virtual void SetUnitsChoiceIndex(int index) = 0;
};

struct TProgramSettings {
    bool ShowPortLog = false;
    bool ShowWorkLog = true;
    bool ShowLoadLog = false;
    bool SavePortLog = false;
    bool SaveWorkLog = false;
    bool SaveProgProps = true;
    bool SavePortProps = true;
    bool SaveErrProps = true;
    std::int32_t ControlMode = 0; // item index of the mode group: -1 none, 0 simple, 1 extended
    bool AutoAddEN = true;
    bool AutoAddBG = true;
    bool SaveUnits = true;
    bool SaveUnitsName = true;
    bool SaveUnitsScale = true;
    std::string UnitsName = "Step";
    double Scale = 1;
    std::uint8_t Rounding = 0;
    std::int32_t UnitsIndex = 0; // item index of the units group: 0 steps, 1 other units
    std::string Language = "en";
    bool ReconnectLostDevice = true;
    bool AskBeforeSendingWarnings = false;
};

class TProgramSettingsFile {
public:
    // Both radio groups have two items; a stored index is bounded to -1..1.
    static constexpr int LastItem = 1;

    TProgramSettingsFile(TCommonDatas& datas, ISettingsRadioGroups* groups);

    static std::string FileName();
    static std::vector<std::string> Lines(const TProgramSettings& values);
    // False when a line is missing or cannot be converted; the lines before it are read.
    // A value out of range takes its default and the reading goes on; the indexes of
    // such lines go into refused.
    static bool Read(const std::vector<std::string>& lines, TProgramSettings& values,
                     std::vector<std::size_t>* refused = nullptr);

    TProgramSettings Current() const;
    // Reads the file into the shared state and the radio groups. The reports may be
    // empty (the first reading at start-up, before the messages are loaded).
    void LoadProgramSettings(const TReportDamaged& reportDamaged,
                             const TReportDefaults& reportDefaults = {});
    // The reading of the file's lines, once they are read.
    void ApplyLines(const std::vector<std::string>& lines, const TReportDamaged& reportDamaged,
                    const TReportDefaults& reportDefaults = {});
    // Throws EFileStreamError when the file cannot be written; the old file is kept.
    void SaveProgramSettings() const;

    void AttachRadioGroups(ISettingsRadioGroups* groups) { groups_ = groups; }

private:
    void Apply(const TProgramSettings& values);

    TCommonDatas& datas_;
    ISettingsRadioGroups* groups_;
};

} // namespace zav
