#include "program-check/program_check.h"

#include <algorithm>
#include <iterator>

#include "command-language/program_structure.h"
#include "localisation/lang.h"

namespace zav {

namespace {
// What the check remembers of the lines before, in one recording or among the lines
// outside every recording.
struct TContext {
    bool SawLL = false;
    bool SawLB = false;
    bool InBuffer = false; // between an LB and its SB: recorded to the buffer, not run
    bool SawSD = false;
};

// A mnemonic as one number, so that a line costs a few integer compares.
constexpr int Code(const char* m) {
    return m[0] * 256 + m[1];
}
int Code(const std::string& m) {
    return m.size() == 2 ? static_cast<unsigned char>(m[0]) * 256 + static_cast<unsigned char>(m[1])
                         : 0;
}

bool Moves(int m) {
    return m == Code("MV") || m == Code("MH") || m == Code("ML") || m == Code("HM");
}

bool WaitsForMachine(int m) {
    return m == Code("WL") || m == Code("WH") || m == Code("MH") || m == Code("ML") ||
           m == Code("HM");
}
} // namespace

bool MovesMotor(const std::string& mnemonic) {
    return Moves(Code(mnemonic));
}

std::vector<TProgramWarning> CheckProgram(const std::vector<std::string>& lines,
                                          TCheckScope scope) {
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::vector<TProgramWarning> warnings;
    // An LD is known to lack its ED only once the next LD or the end is reached; these
    // come in line order too, and are merged in at the end.
    std::vector<TProgramWarning> unended;
    TContext outside, recording;
    bool inRecording = scope == TCheckScope::RecordingBody;
    std::size_t openLd = None;
    const auto warn = [&warnings](std::size_t line, TWarningKind kind) {
        warnings.push_back({line, kind});
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int m = Code(ParseProgramLine(lines[i]).Mnemonic);
        if (m == Code("LD")) {
            if (openLd != None)
                unended.push_back({openLd, TWarningKind::LdWithoutEd});
            if (inRecording)
                warn(i, TWarningKind::LdInsideRecording);
            inRecording = true;
            openLd = i;
            recording = {};
            continue;
        }
        if (m == Code("ED")) {
            // An ED outside a recording only ends a recording mode: it is the usual way
            // to make sure none is left open.
            inRecording = false;
            openLd = None;
            continue;
        }
        TContext& context = inRecording ? recording : outside;
        if (m == Code("LL")) {
            context.SawLL = true;
        } else if (m == Code("JP")) {
            if (!context.SawLL)
                warn(i, TWarningKind::JpWithoutLl);
        } else if (m == Code("LB")) {
            context.SawLB = context.InBuffer = true;
        } else if (m == Code("SB")) {
            if (!context.SawLB)
                warn(i, TWarningKind::SbWithoutLb);
            context.InBuffer = false;
        } else if (m == Code("SD")) {
            context.SawSD = true;
        }
        if (Moves(m) && !inRecording && !context.InBuffer)
            warn(i, TWarningKind::DirectMotion);
        if (m == Code("MV") && inRecording && !context.SawSD)
            warn(i, TWarningKind::MoveBeforeSd);
        if (WaitsForMachine(m))
            warn(i, TWarningKind::MachineDependentWait);
    }
    if (openLd != None)
        unended.push_back({openLd, TWarningKind::LdWithoutEd});
    if (unended.empty())
        return warnings;
    std::vector<TProgramWarning> merged;
    merged.reserve(warnings.size() + unended.size());
    // The LD's own warning goes first on its line: it is what the operator must fix.
    std::merge(unended.begin(), unended.end(), warnings.begin(), warnings.end(),
               std::back_inserter(merged),
               [](const TProgramWarning& a, const TProgramWarning& b) { return a.Line < b.Line; });
    return merged;
}

std::string WarningText(const TLang& lang, TWarningKind kind) {
    switch (kind) {
    case TWarningKind::DirectMotion:
        return lang.Message(msgCheckDirectMotion);
    case TWarningKind::LdWithoutEd:
        return lang.Message(msgCheckLdWithoutEd);
    case TWarningKind::LdInsideRecording:
        return lang.Message(msgCheckLdInsideRecording);
    case TWarningKind::JpWithoutLl:
        return lang.Message(msgCheckJpWithoutLl);
    case TWarningKind::SbWithoutLb:
        return lang.Message(msgCheckSbWithoutLb);
    case TWarningKind::MoveBeforeSd:
        return lang.Message(msgCheckMoveBeforeSd);
    case TWarningKind::MachineDependentWait:
        return lang.Message(msgCheckMachineWait);
    }
    return {};
}

std::string WarningCountText(const TLang& lang, std::size_t count) {
    // One message for each form a count takes in the languages the program ships:
    // exactly one, ending in 1 (21, 31), ending in 2 to 4 (22, 103), and the rest.
    const std::size_t ones = count % 10, tens = count % 100 / 10;
    int form = msgCheckWarningsMany;
    if (count == 1)
        form = msgCheckWarningOne;
    else if (tens != 1 && ones == 1)
        form = msgCheckWarningsEndingIn1;
    else if (tens != 1 && ones >= 2 && ones <= 4)
        form = msgCheckWarningsFew;
    return std::to_string(count) + lang.Message(form);
}

std::string SendQuestion(const TLang& lang, bool askBeforeSending,
                         const std::vector<std::string>& lines) {
    if (!askBeforeSending)
        return {};
    const std::size_t count = CheckProgram(lines).size();
    return count == 0 ? std::string()
                      : WarningCountText(lang, count) + lang.Message(msgCheckSendQuestion);
}

} // namespace zav
