#pragma once
// The program check: what in a command list is probably not what the operator meant,
// or what makes a time estimate of it uncertain. Warnings inform; nothing here keeps a
// list from being sent.

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

class TLang;

enum class TWarningKind {
    DirectMotion,         // a motor moves outside any recording and outside LB ... SB
    LdWithoutEd,          // the recording this LD begins is never ended by its own ED
    LdInsideRecording,    // an LD while a recording is open
    JpWithoutLl,          // no LL before it in its recording
    SbWithoutLb,          // no LB before it in its recording
    MoveBeforeSd,         // an MV in a recording before any SD in it
    MachineDependentWait, // WL, WH, MH, ML, HM: an estimate of the list is a lower bound
};

struct TProgramWarning {
    std::size_t Line = 0; // index into the list, from 0
    TWarningKind Kind = TWarningKind::DirectMotion;
    friend bool operator==(const TProgramWarning&, const TProgramWarning&) = default;
};

enum class TCheckScope {
    WholeList,     // a list as it is sent: recordings, direct commands, buffer recordings
    RecordingBody, // a program read back: the body of one recording, without its LD and ED
};

// Whether the command moves a motor: MV, MH, ML and HM. DL, DR and RS only set the
// direction of the next move; ST runs a stored program, which is what it is for.
bool MovesMotor(const std::string& mnemonic);

// The warnings of the list, by line, in line order (a line may have more than one).
// One pass over the list: its cost grows with the list's length and nothing else.
std::vector<TProgramWarning> CheckProgram(const std::vector<std::string>& lines,
                                          TCheckScope scope = TCheckScope::WholeList);

// The warning in the language of lang.
std::string WarningText(const TLang& lang, TWarningKind kind);
// "3 warnings", with the plural the language needs.
std::string WarningCountText(const TLang& lang, std::size_t count);

// What Send asks before it sends a list with warnings, when the program settings want
// it asked; empty when nothing is to be asked.
std::string SendQuestion(const TLang& lang, bool askBeforeSending,
                         const std::vector<std::string>& lines);

} // namespace zav
