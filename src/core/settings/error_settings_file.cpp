#include "settings/error_settings_file.h"

#include <algorithm>
#include <array>

#include "state/common_datas.h"
#include "state/encoded_stream.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

namespace {
using TRule = TLineRule<TErrorSettings>;

bool ReadByte(const std::string& text, std::uint8_t& value) {
    std::int32_t n = 0;
    if (!ParseInteger(text, n))
        return false;
    value = static_cast<std::uint8_t>(n & 0xFF); // the low 8 bits, as stored
    return true;
}

// clang-format off
const std::array<TRule, 7> ErrorSettingsTable{{
    {"AutoRecovery",
     [](const std::string& t, TErrorSettings& v) { return ParseBoolean(t, v.AutoRecovery); },
     [](const TErrorSettings& v) { return FormatBoolean(v.AutoRecovery); }},
    {"StopOnCommandError",
     [](const std::string& t, TErrorSettings& v) { return ReadByte(t, v.StopOnCommandError); },
     [](const TErrorSettings& v) { return std::to_string(v.StopOnCommandError); }},
    {"StopOnDataError",
     [](const std::string& t, TErrorSettings& v) { return ReadByte(t, v.StopOnDataError); },
     [](const TErrorSettings& v) { return std::to_string(v.StopOnDataError); }},
    {"RecoveryStopRecording",
     [](const std::string& t, TErrorSettings& v) { return ParseBoolean(t, v.RecoveryStopRecording); },
     [](const TErrorSettings& v) { return FormatBoolean(v.RecoveryStopRecording); }},
    {"RecoveryClearBuffers",
     [](const std::string& t, TErrorSettings& v) { return ParseBoolean(t, v.RecoveryClearBuffers); },
     [](const TErrorSettings& v) { return FormatBoolean(v.RecoveryClearBuffers); }},
    // A time of 0 or below would turn every command into "No reply".
    {"ReplyTimeout",
     [](const std::string& t, TErrorSettings& v) {
         if (!ParseInteger(t, v.ReplyTimeout))
             return false;
         v.ReplyTimeout = std::clamp(v.ReplyTimeout, TErrorSettingsFile::MinReplyTimeout,
                                     TErrorSettingsFile::MaxReplyTimeout);
         return true;
     },
     [](const TErrorSettings& v) { return std::to_string(v.ReplyTimeout); }},
    // After the six lines: an older file lacks it and keeps the check on; an older program
    // reads the six and leaves the rest.
    {"EchoCheck",
     [](const std::string& t, TErrorSettings& v) { return ParseBoolean(t, v.EchoCheck); },
     [](const TErrorSettings& v) { return FormatBoolean(v.EchoCheck); },
     nullptr, true},
}};
// clang-format on
} // namespace

TErrorSettings TErrorSettings::Of(const TCommonDatas& d) {
    return {d.AutoRecovery,
            d.StopOnCommandError.load(),
            d.StopOnDataError.load(),
            d.RecoveryStopRecording,
            d.RecoveryClearBuffers,
            d.ReplyTimeout.load(),
            d.EchoCheck};
}

void TErrorSettings::StoreIn(TCommonDatas& d) const {
    d.AutoRecovery = AutoRecovery;
    d.StopOnCommandError = StopOnCommandError;
    d.StopOnDataError = StopOnDataError;
    d.RecoveryStopRecording = RecoveryStopRecording;
    d.RecoveryClearBuffers = RecoveryClearBuffers;
    d.ReplyTimeout = ReplyTimeout;
    d.EchoCheck = EchoCheck;
}

TErrorSettingsFile::TErrorSettingsFile(TCommonDatas& datas, TReportDamaged reportDamaged)
    : datas_(datas), reportDamaged_(std::move(reportDamaged)) {}

bool TErrorSettingsFile::ReplyTimeoutFromText(const std::string& text, std::int32_t& milliseconds) {
    std::int32_t value = 0;
    if (!ParseInteger(text, value) || value < MinReplyTimeout)
        return false;
    milliseconds = std::min(value, MaxReplyTimeout);
    return true;
}

std::string TErrorSettingsFile::FileName() {
    return DataDir() + "Data/erp.dat";
}

std::vector<std::string> TErrorSettingsFile::Lines(const TErrorSettings& values) {
    return WriteSettingsLines(ErrorSettingsTable, values);
}

bool TErrorSettingsFile::Read(const std::vector<std::string>& lines, TErrorSettings& values) {
    return ReadSettingsLines(ErrorSettingsTable, lines, values);
}

void TErrorSettingsFile::LoadErrorSettings() {
    const std::string fileName = FileName();
    std::vector<std::string> lines;
    try {
        lines = LoadSettingsLines(fileName);
    } catch (const EFileStreamError&) {
        if (reportDamaged_)
            reportDamaged_(fileName);
    }
    ApplyLines(lines);
}

void TErrorSettingsFile::ApplyLines(const std::vector<std::string>& lines) {
    TErrorSettings values = TErrorSettings::Of(datas_);
    const bool complete = Read(lines, values);
    values.StoreIn(datas_);
    if (!complete && reportDamaged_)
        reportDamaged_(FileName());
}

void TErrorSettingsFile::SaveErrorSettings() const {
    SaveLines(FileName(), Lines(TErrorSettings::Of(datas_)), true);
}

} // namespace zav
