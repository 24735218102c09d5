// Reads arbitrary bytes as a send journal: the reader refuses with a reason or returns a
// journal whose records point into its list, and what it read survives the journal's own
// escaping unchanged.

#include "fuzz_support.h"
#include "journal/journal.h"
#include "localisation/lang.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zav::TJournalProblem problem;
    const auto journal = zav::ParseJournal(bytes, problem);
    if (!journal) {
        zav::fuzz::Check(problem.Message == zav::msgJournalTruncatedHeader ||
                         problem.Message == zav::msgJournalDamagedLine ||
                         problem.Message == zav::msgJournalNewerVersion);
        zav::fuzz::Check((problem.Message == zav::msgJournalDamagedLine) == (problem.FileLine > 0));
        return 0;
    }
    zav::fuzz::Check(problem.Message == 0);
    zav::fuzz::Check(journal->FirstLine <= journal->Lines.size());
    const auto sameBack = [](const std::string& text) {
        return zav::UnescapeJournalText(zav::EscapeJournalText(text)) == text;
    };
    zav::fuzz::Check(sameBack(journal->ListFile));
    for (const std::string& line : journal->Lines)
        zav::fuzz::Check(sameBack(line));
    for (const zav::TJournalEntry& entry : journal->Entries) {
        zav::fuzz::Check(entry.Line < journal->Lines.size());
        zav::fuzz::Check(sameBack(entry.Request) && sameBack(entry.Echo) && sameBack(entry.Reply));
        zav::fuzz::Check(zav::ParseJournalTime(zav::FormatJournalTime(entry.TimeMs)) ==
                         entry.TimeMs);
    }
    // A crash may cut the file anywhere after its header: what was whole still reads.
    const std::size_t last = bytes.rfind('\n');
    if (last != std::string_view::npos && last > 0) {
        const auto cut = zav::ParseJournal(bytes.substr(0, last), problem);
        zav::fuzz::Check(!cut || cut->Entries.size() <= journal->Entries.size());
    }
    return 0;
}
