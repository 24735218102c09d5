#include "controller/resume.h"

#include <ctime>

#include "controller/line_send.h"
#include "program-editing/command_files.h"
#include "state/number_format.h"

namespace zav {

namespace {
std::string LocalTime(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}
} // namespace

TResume::TResume(TParts parts) : parts_(std::move(parts)) {
    parts_.Send.AddObserver(*this);
}

std::vector<TJournal> TResume::Unfinished() {
    std::vector<TJournal> journals;
    const std::vector<std::filesystem::path> files = JournalFiles(parts_.LogFolder());
    const std::filesystem::path open =
        parts_.Send.Busy() && parts_.CurrentJournal ? parts_.CurrentJournal() : "";
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (*file == open)
            continue;
        TJournalProblem problem;
        std::optional<TJournal> journal = ReadJournal(*file, problem);
        if (!journal) {
            if (reported_.insert(*file).second)
                parts_.Log(parts_.Lang.Message(msgResumeUnreadable) + file->string() + ": " +
                               parts_.Lang.Message(problem.Message) +
                               (problem.FileLine ? std::to_string(problem.FileLine) : ""),
                           true);
            continue;
        }
        if (!EndedNormally(*journal) && !journal->Answered)
            journals.push_back(std::move(*journal));
    }
    return journals;
}

void TResume::OfferDue() {
    // The journal of a send whose end is not yet taken back is still open.
    if (parts_.Send.Busy() || Pending()) {
        // A send whose end is only still to be taken back needs no word: the offer follows
        // at once.
        if (!offerAfterSend_ && (parts_.Send.Running() || Pending()) && !Unfinished().empty())
            parts_.Log(parts_.Lang.Message(msgResumeAfterSend), false);
        offerAfterSend_ = true;
        return;
    }
    offerAfterSend_ = false;
    std::vector<TJournal> journals = Unfinished();
    if (!journals.empty() && ShowOffer)
        ShowOffer(journals.front());
}

void TResume::ExchangeEnded(TSendOutcome outcome) {
    // Posted: the other observers are still to hear of this end.
    if (continuation_) {
        parts_.Post([this, outcome] {
            if (!continuation_)
                return;
            TContinuation next = std::move(*continuation_);
            continuation_.reset();
            if (outcome != TSendOutcome::Accepted) {
                parts_.Log(parts_.Lang.Message(msgResumeEdRefused), true);
                return;
            }
            parts_.Send.RunLines(std::move(next.Lines), next.Range);
        });
        return;
    }
    if (offerAfterSend_)
        parts_.Post([this] { OfferDue(); });
}

TResume::TOffer TResume::Describe(const TJournal& journal, bool resendInFlight) const {
    const TLang& lang = parts_.Lang;
    const auto number = [](std::size_t i) { return std::to_string(i + 1); };
    const auto line = [&](std::size_t i) {
        return i < journal.Lines.size() ? journal.Lines[i] : std::string();
    };
    TOffer offer;
    offer.Point = FindResumePoint(journal, resendInFlight);
    const TResumePoint& point = offer.Point;
    std::string text =
        FillIn(lang.Message(msgResumeIntro),
               {journal.ListFile.empty() ? lang.Message(msgResumeUnnamedList) : journal.ListFile,
                LocalTime(journal.StartedMs),
                lang.Message(journal.End == TJournalEnd::DeviceLost ? msgResumeCutLost
                                                                    : msgResumeCutOpen)});
    text += "\n\n";
    text += point.LastAcknowledged
                ? FillIn(lang.Message(msgResumeLastAcked),
                         {number(*point.LastAcknowledged), line(*point.LastAcknowledged)})
                : lang.Message(msgResumeNoneAcked);
    text += "\n";
    if (point.Recording) {
        text += FillIn(lang.Message(msgResumeInRecording),
                       {number(point.Recording->Begin), number(point.Recording->End)});
    } else {
        if (point.InFlight) {
            text += FillIn(lang.Message(msgResumeInFlight),
                           {number(*point.InFlight), line(*point.InFlight)});
            text += "\n";
            offer.ResendCaption = FillIn(lang.Message(msgResumeResend), {number(*point.InFlight)});
        }
        text += point.Kind == TResumePoint::TKind::NothingLeft
                    ? lang.Message(msgResumeNothingLeft)
                    : FillIn(lang.Message(msgResumeFromLine), {number(point.Start)});
    }
    // The file may have been edited since: what is resumed is the list as it was sent.
    if (!journal.ListFile.empty()) {
        try {
            std::vector<std::string> now;
            for (const TCommandRow& row : LoadCommandFiles(journal.ListFile))
                now.push_back(row.Command);
            if (now != journal.Lines)
                text += "\n\n" + lang.Message(msgResumeListChanged);
        } catch (const std::exception&) {
            // A file that is gone or unreadable changes nothing: the journal has the list.
        }
    }
    offer.Text = std::move(text);
    return offer;
}

bool TResume::ListInWindow(const TJournal& journal) const {
    return parts_.MemoSend.Lines() == journal.Lines;
}

bool TResume::WouldReplaceList(const TJournal& journal) const {
    return !ListInWindow(journal) && !parts_.MemoSend.Empty();
}

TCommandRow TResume::Row(const std::string& command) const {
    const TProgramLine parsed = ParseProgramLine(command);
    const int index = TZavCommands::FindCommand(parsed.Mnemonic);
    const CommandEntry& entry = parts_.Commands.Commands(index);
    if (index == ciUnknown || !parsed.Value)
        return {command, entry.Description};
    // The list holds steps; the grid shows motion values in the units in force.
    const bool motion = index >= ciMV && index <= ciAL;
    const std::string shown =
        motion ? FormatGeneral(static_cast<double>(*parsed.Value) / parts_.Datas.Scale)
               : std::to_string(*parsed.Value);
    return {command, entry.Description + shown + entry.ParamLabel};
}

bool TResume::Answer(const TJournal& journal, TAnswer answer, bool resendInFlight) {
    // Once answered the journal is offered no more; a send refused (a closed port, say)
    // leaves it to be offered again, so that nothing is lost.
    const auto answered = [&] {
        if (!MarkAnswered(journal.Path))
            parts_.Log(parts_.Lang.Message(msgJournalWriteFailed) + journal.Path.string(), true);
    };
    const TResumePoint point = FindResumePoint(journal, resendInFlight);
    if (answer == TAnswer::Dismiss ||
        (answer == TAnswer::Resume && point.Kind == TResumePoint::TKind::NothingLeft)) {
        answered();
        return false;
    }
    if (!ListInWindow(journal)) {
        std::vector<TCommandRow> rows;
        for (const std::string& command : journal.Lines)
            rows.push_back(Row(command));
        parts_.MemoSend.Assign(std::move(rows));
    }
    const TSendRange range{answer == TAnswer::Resume ? point.Start : journal.FirstLine,
                           journal.Lines.size()};
    bool started = false;
    if (!point.EndRecordingFirst()) {
        started = parts_.Send.RunLines(journal.Lines, range);
    } else {
        continuation_ = TContinuation{journal.Lines, range};
        started = parts_.Send.RunLines({"ED"});
        if (!started)
            continuation_.reset();
    }
    if (started)
        answered();
    return started;
}

} // namespace zav
