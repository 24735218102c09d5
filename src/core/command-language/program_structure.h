#pragma once
// How the controller reads a list: the command of each line and where its recordings
// (LD n ... ED) lie. The program check, the motion model, resuming and sending from a
// chosen line all ask the same questions of a list, so they share these answers.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

// One line as the controller would take it: the two-letter mnemonic (upper case, as the
// controller reads it) and the whole number after it, if there is one.
struct TProgramLine {
    std::string Mnemonic;           // empty for an empty or one-letter line
    std::optional<long long> Value; // "AL+50" gives 50; none when absent or not a number
    bool HasText = false;           // anything follows the mnemonic
};
TProgramLine ParseProgramLine(std::string_view line);

// A recording: the lines from an LD to its ED. An LD inside a recording begins a new
// one (the one before has then no ED); a recording that reaches the end of the list has
// none either.
struct TRecordingSpan {
    std::size_t Begin = 0; // the LD's index
    std::size_t End = 0;   // its last line: the ED, or the line before what cut it short
    int Coordinate = 0;    // LD's coordinate digit 1..3; 0 when it has none
    bool Closed = false;   // ended by its own ED
    bool Contains(std::size_t index) const { return index >= Begin && index <= End; }
};
std::vector<TRecordingSpan> FindRecordings(const std::vector<std::string>& lines);
// The recording that line index belongs to (its LD and ED included), if any.
std::optional<TRecordingSpan> RecordingAt(const std::vector<std::string>& lines, std::size_t index);

} // namespace zav
