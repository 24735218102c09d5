#include "settings/log_files.h"

#include <exception>

#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

std::string TLogFiles::WorkLogFileName() {
    return DataDir() + "Log/work.log";
}

std::string TLogFiles::PortLogFileName() {
    return DataDir() + "Log/port.log";
}

void TLogFiles::Save(const std::string& fileName, const std::vector<std::string>& lines) {
    SaveLines(fileName, lines, false);
}

std::vector<std::string>
RunSaveSteps(const std::vector<TSaveStep>& steps,
             const std::function<std::string(const EFileStreamError&)>& describe) {
    std::vector<std::string> failures;
    for (const TSaveStep& step : steps) {
        if (!step.Enabled)
            continue;
        try {
            step.Save();
        } catch (const EFileStreamError& e) {
            failures.push_back(describe ? describe(e) : std::string(e.what()));
        } catch (const std::exception& e) {
            failures.emplace_back(e.what());
        }
    }
    return failures;
}

} // namespace zav
