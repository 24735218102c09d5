#pragma once
// Data/erp.dat: how the program reacts to the controller's errors and how long it waits
// for a reply. Six lines, encoded on disk, and the echo check after them.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_table.h"

namespace zav {

class TCommonDatas;

struct TErrorSettings {
    bool AutoRecovery = true;
    std::uint8_t StopOnCommandError = 1;
    std::uint8_t StopOnDataError = 1;
    bool RecoveryStopRecording = true;
    bool RecoveryClearBuffers = true;
    std::int32_t ReplyTimeout = 300;
    bool EchoCheck = true; // a line after the six of the first version

    static TErrorSettings Of(const TCommonDatas& datas);
    void StoreIn(TCommonDatas& datas) const;
};

class TErrorSettingsFile {
public:
    // The range of the reply time; a stored value outside it is brought into it.
    static constexpr std::int32_t MinReplyTimeout = 1;
    static constexpr std::int32_t MaxReplyTimeout = 10000;

    TErrorSettingsFile(TCommonDatas& datas, TReportDamaged reportDamaged);

    // The reply time the operator typed: false for text that is no whole number and for
    // a time below the least (a time of 1 ms or none would end every command without
    // its reply); a time above the most is brought down to it.
    static bool ReplyTimeoutFromText(const std::string& text, std::int32_t& milliseconds);

    static std::string FileName();
    // The file's lines, and their reading: false when a line is missing or damaged.
    static std::vector<std::string> Lines(const TErrorSettings& values);
    static bool Read(const std::vector<std::string>& lines, TErrorSettings& values);

    // Reads the file into the shared state; a missing file is reported twice (once for
    // the file, once for its first line), a damaged line once.
    void LoadErrorSettings();
    // The reading of the file's lines into the shared state, once they are read; a line
    // missing or damaged is reported once.
    void ApplyLines(const std::vector<std::string>& lines);
    // Throws EFileStreamError when the file cannot be written; the old file is kept.
    void SaveErrorSettings() const;

private:
    TCommonDatas& datas_;
    TReportDamaged reportDamaged_;
};

} // namespace zav
