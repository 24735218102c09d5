#pragma once
// Where a send that did not end normally goes on. Inside a recording (LD n ... ED) the
// controller's stored program is incomplete and it may still be recording: ED goes
// first, then the whole recording again from its LD. Outside one the send goes on from
// the first line not acknowledged; the line that was in flight may have been carried out
// without its reply arriving, so it is sent again only when the operator says so.

#include <cstddef>
#include <optional>

#include "command-language/program_structure.h"
#include "journal/journal.h"

namespace zav {

struct TResumePoint {
    enum class TKind {
        FromLine,        // outside a recording: from Start on
        InsideRecording, // ED first, then from the recording's LD (Start) on
        NothingLeft,     // every line was acknowledged (or only the one in flight is left)
    };
    TKind Kind = TKind::NothingLeft;
    std::size_t Start = 0; // the first line to send; the list's size when none
    std::optional<std::size_t> LastAcknowledged;
    // Outside a recording: the line after the last acknowledged one, which may have been
    // carried out.
    std::optional<std::size_t> InFlight;
    std::optional<TRecordingSpan> Recording; // inside one: the recording that was cut

    bool EndRecordingFirst() const { return Kind == TKind::InsideRecording; }
};

// The last line whose coded reply said the controller took it, if any.
std::optional<std::size_t> LastAcknowledged(const TJournal& journal);

// resendInFlight: the operator wants the line in flight sent again.
TResumePoint FindResumePoint(const TJournal& journal, bool resendInFlight);

} // namespace zav
