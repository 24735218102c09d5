#pragma once
// The settings files as the operator meets them: read at start-up with what was damaged
// or out of range reported, and written with the logs on closing.

#include <functional>
#include <string>
#include <vector>

#include "controller/text_lines.h"
#include "localisation/lang.h"
#include "settings/error_settings_file.h"
#include "settings/program_settings_file.h"
#include "state/common_datas.h"

namespace zav {

class TSettingsFiles {
public:
    // May be called from any thread; it brings the text to the main thread.
    using TShowMessage = std::function<void(const std::string& text)>;

    // portLog is the "Response:" list; savePortSettings writes Data/portp.dat.
    TSettingsFiles(const TCommonDatas& datas, TProgramSettingsFile& programSettings,
                   TErrorSettingsFile& errorSettings, const TLang& lang, const TTextLines& portLog,
                   std::function<void()> savePortSettings, TShowMessage showMessage);
    TSettingsFiles(const TSettingsFiles&) = delete;
    TSettingsFiles& operator=(const TSettingsFiles&) = delete;

    // The first reading of the program settings happens before the messages exist and
    // reports nothing; this one reports.
    void LoadProgramSettings();
    void LoadErrorSettings();
    // Writes the logs and settings files whose switches are on, in order; files that
    // cannot be written are reported together in one message box.
    void SaveAllOnClose(const std::vector<std::string>& workLog);
    void ReportDamagedSettings(const std::string& fileName);

private:
    const TCommonDatas& datas_;
    TProgramSettingsFile& programSettings_;
    TErrorSettingsFile& errorSettings_;
    const TLang& lang_;
    const TTextLines& portLog_;
    std::function<void()> savePortSettings_;
    TShowMessage showMessage_;
};

} // namespace zav
