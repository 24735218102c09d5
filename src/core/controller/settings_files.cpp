// Reading the settings files at start-up and writing them with the logs on closing.

#include "controller/settings_files.h"

#include <utility>

#include "settings/log_files.h"

namespace zav {

TSettingsFiles::TSettingsFiles(const TCommonDatas& datas, TProgramSettingsFile& programSettings,
                               TErrorSettingsFile& errorSettings, const TLang& lang,
                               const TTextLines& portLog, std::function<void()> savePortSettings,
                               TShowMessage showMessage)
    : datas_(datas), programSettings_(programSettings), errorSettings_(errorSettings), lang_(lang),
      portLog_(portLog), savePortSettings_(std::move(savePortSettings)),
      showMessage_(std::move(showMessage)) {}

void TSettingsFiles::ReportDamagedSettings(const std::string& fileName) {
    showMessage_(lang_.Message(msgFileNotFound) + fileName + lang_.Message(msgFileNotFoundEnd));
}

void TSettingsFiles::LoadProgramSettings() {
    programSettings_.LoadProgramSettings(
        [this](const std::string& fileName) { ReportDamagedSettings(fileName); },
        [this](const std::string& fileName,
               const std::vector<std::pair<std::size_t, std::string>>& lines) {
            // Lines counted from 1.
            std::string text = lang_.Message(msgSettingDefaultTaken) + fileName;
            for (std::size_t i = 0; i < lines.size(); ++i)
                text += (i ? ", " : ": ") + lang_.Message(msgSettingsLine) +
                        std::to_string(lines[i].first + 1) + " (" + lines[i].second + ")";
            showMessage_(text);
        });
}

void TSettingsFiles::LoadErrorSettings() {
    errorSettings_.LoadErrorSettings();
}

void TSettingsFiles::SaveAllOnClose(const std::vector<std::string>& workLog) {
    const TCommonDatas& d = datas_;
    const auto failures = RunSaveSteps(
        {
            {d.SaveWorkLog, [&] { TLogFiles::SaveWorkLogFile(workLog); }},
            {d.SavePortLog, [&] { TLogFiles::SavePortLogFile(portLog_.Lines()); }},
            {d.SavePortProps, [&] { savePortSettings_(); }},
            {d.SaveProgProps, [&] { programSettings_.SaveProgramSettings(); }},
            {d.SaveErrProps, [&] { errorSettings_.SaveErrorSettings(); }},
        },
        [this](const EFileStreamError& e) { return lang_.FileErrorText(e); });
    if (failures.empty())
        return;
    std::string text = lang_.Message(msgFilesNotSaved);
    for (const auto& failure : failures)
        text += "\n" + failure;
    showMessage_(text);
}

} // namespace zav
