#include "journal/resume_point.h"

namespace zav {

namespace {
std::size_t NextLine(const std::vector<std::string>& lines, std::size_t index) {
    while (index < lines.size() && lines[index].empty())
        ++index;
    return index;
}
} // namespace

std::optional<std::size_t> LastAcknowledged(const TJournal& journal) {
    for (auto entry = journal.Entries.rbegin(); entry != journal.Entries.rend(); ++entry)
        if (entry->Outcome == "accepted" && entry->Line < journal.Lines.size())
            return entry->Line;
    return std::nullopt;
}

TResumePoint FindResumePoint(const TJournal& journal, bool resendInFlight) {
    const std::vector<std::string>& lines = journal.Lines;
    TResumePoint point;
    point.LastAcknowledged = LastAcknowledged(journal);
    const std::size_t next =
        NextLine(lines, point.LastAcknowledged ? *point.LastAcknowledged + 1 : journal.FirstLine);
    point.Start = lines.size();
    if (next >= lines.size())
        return point;
    // The LD in flight may have put the controller into recording, and an ED in flight
    // may not have ended it: both count as a cut inside the recording.
    if (const std::optional<TRecordingSpan> recording = RecordingAt(lines, next)) {
        point.Kind = TResumePoint::TKind::InsideRecording;
        point.Recording = recording;
        point.Start = recording->Begin;
        return point;
    }
    point.InFlight = next;
    point.Start = resendInFlight ? next : NextLine(lines, next + 1);
    point.Kind = point.Start < lines.size() ? TResumePoint::TKind::FromLine
                                            : TResumePoint::TKind::NothingLeft;
    return point;
}

} // namespace zav
