#pragma once
// Log/work.log and Log/port.log: the operation log and the port replies of the last
// run, one line each, plain 8-bit text with CR LF.

#include <functional>
#include <string>
#include <vector>

#include "state/encoded_stream.h"

namespace zav {

class TLogFiles {
public:
    static std::string WorkLogFileName();
    static std::string PortLogFileName();
    // Both throw EFileStreamError when the file cannot be written; the old one is kept.
    template <class TLines> static void SaveWorkLogFile(const TLines& lines) {
        Save(WorkLogFileName(), {lines.begin(), lines.end()});
    }
    template <class TLines> static void SavePortLogFile(const TLines& lines) {
        Save(PortLogFileName(), {lines.begin(), lines.end()});
    }

private:
    static void Save(const std::string& fileName, const std::vector<std::string>& lines);
};

// One file written on closing, if its switch is on.
struct TSaveStep {
    bool Enabled;
    std::function<void()> Save;
};

// Runs the enabled steps in order; one that fails does not stop the rest. Returns the
// failures, each naming its file and the reason; describe tells a file error.
std::vector<std::string>
RunSaveSteps(const std::vector<TSaveStep>& steps,
             const std::function<std::string(const EFileStreamError&)>& describe = {});

} // namespace zav
