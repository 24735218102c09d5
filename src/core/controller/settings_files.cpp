// Reading the settings files at start-up and writing them with the logs on closing.

#include "controller/controller.h"
#include "settings/log_files.h"

namespace zav {

void TController::ReportDamagedSettings(const std::string& fileName) {
    ShowMessage(lang_->Message(1) + fileName + lang_->Message(2));
}

void TController::LoadProgramSettings() {
    programSettings_->LoadProgramSettings(
        [this](const std::string& fileName) { ReportDamagedSettings(fileName); },
        [this](const std::string& fileName,
               const std::vector<std::pair<std::size_t, std::string>>& lines) {
            // Lines counted from 1.
            std::string text = lang_->Message(msgSettingDefaultTaken) + fileName;
            for (std::size_t i = 0; i < lines.size(); ++i)
                text += (i ? ", " : ": ") + lang_->Message(msgSettingsLine) +
                        std::to_string(lines[i].first + 1) + " (" + lines[i].second + ")";
            ShowMessage(text);
        });
}

void TController::LoadErrorSettings() {
    errorSettings_->LoadErrorSettings();
}

void TController::SaveAllOnClose(const std::vector<std::string>& workLog) {
    const TCommonDatas& d = *commonDatas_;
    const auto failures = RunSaveSteps(
        {
            {d.SaveWorkLog, [&] { TLogFiles::SaveWorkLogFile(workLog); }},
            {d.SavePortLog, [&] { TLogFiles::SavePortLogFile(lbBufRead.Lines()); }},
            {d.SavePortProps, [&] { SavePortSettings(); }},
            {d.SaveProgProps, [&] { programSettings_->SaveProgramSettings(); }},
            {d.SaveErrProps, [&] { errorSettings_->SaveErrorSettings(); }},
        },
        [this](const EFileStreamError& e) { return lang_->FileErrorText(e); });
    if (failures.empty())
        return;
    std::string text = lang_->Message(msgFilesNotSaved);
    for (const auto& failure : failures)
        text += "\n" + failure;
    ShowMessage(text);
}

} // namespace zav
