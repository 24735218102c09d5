#pragma once
// The send journal: one file per exchange of a list in Log/, named by its start time
// (UTC) to the millisecond, "send-YYYYMMDD-HHMMSS-mmm.zvj". UTF-8 text, one record a
// line, fields apart by tabs; texts are escaped so that a record is always one line:
//   ZAVJOURNAL 1
//   started <time>            list <file name>          first <index of the first line sent>
//   lines <n>, then n lines "L <line>": the whole list as sent
//   E <time> <line> <outcome> <latency ms> <request> <echo> <coded reply>   (per line done)
//   end completed | end stopped <outcome> | end device-lost <outcome>
//   answered <time>           (its resume offer was answered)
// Times are "YYYY-MM-DDTHH:MM:SS.mmmZ".

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

inline constexpr int JournalVersion = 1;
// A journal larger than this is refused by its size, unread: the retention keeps 100 MB of
// journals in all, so no journal the program wrote is larger.
inline constexpr std::uintmax_t MaxJournalBytes = 100u * 1024u * 1024u;

struct TJournalEntry {
    std::int64_t TimeMs = 0; // when the line's write ended, ms since 1970 (UTC)
    std::size_t Line = 0;    // 0-based index into TJournal::Lines
    std::string Request, Echo, Reply;
    std::string Outcome; // accepted, command-error, data-error, no-answer, stopped,
                         // echo-mismatch
    long long LatencyMs = 0;
};

enum class TJournalEnd { Open, Completed, Stopped, DeviceLost };

struct TJournal {
    std::filesystem::path Path;
    std::int64_t StartedMs = 0;
    std::string ListFile; // empty when the list came from no file
    std::size_t FirstLine = 0;
    std::vector<std::string> Lines; // the whole list as sent
    std::vector<TJournalEntry> Entries;
    TJournalEnd End = TJournalEnd::Open;
    std::string EndOutcome; // the last line's outcome for Stopped and DeviceLost
    bool Answered = false;  // the operator answered its resume offer
};

// Why a journal was refused: a message of the language catalogue (msgJournal...), and
// for a damaged line its 1-based number in the file.
struct TJournalProblem {
    int Message = 0;
    std::size_t FileLine = 0;
};

// Completed or Stopped: the program saw the exchange end with the device still there.
bool EndedNormally(const TJournal& journal);

// Reads a journal; on failure returns nullopt and says why (unreadable, truncated header,
// damaged line, newer version, too large), never throws. A last line the crash cut short
// is dropped. A file larger than maxBytes is refused without being read.
std::optional<TJournal> ReadJournal(const std::filesystem::path& path, TJournalProblem& problem,
                                    std::uintmax_t maxBytes = MaxJournalBytes);
// The same over the bytes of a file (name is only kept in Path).
std::optional<TJournal> ParseJournal(std::string_view bytes, TJournalProblem& problem,
                                     const std::filesystem::path& name = {});

// The journal files in a folder, oldest first (their names sort by time).
std::vector<std::filesystem::path> JournalFiles(const std::filesystem::path& logFolder);
// The newest journal in the folder; empty when there is none.
std::filesystem::path LastJournal(const std::filesystem::path& logFolder);
// The journals in the folder that did not end normally and whose offer is unanswered,
// newest first. Journals that cannot be read are left out (and left on disk).
std::vector<TJournal> UnfinishedJournals(const std::filesystem::path& logFolder);
// Appends an "answered" record; the journal is then offered no more. A last line a crash
// cut short is cut off first, so that the record starts a line of its own. Returns false
// when the file cannot be written.
bool MarkAnswered(const std::filesystem::path& path);

// Whether a journal may go in the retention: its last records say it ended normally or its
// offer was answered. Reads only the end of the file.
bool JournalSettled(const std::filesystem::path& path);

// Texts as journal fields: any byte goes in; tab, line ends, control bytes, backslash and
// bytes that are not UTF-8 are escaped (\t \n \r \\ \xHH).
std::string EscapeJournalText(std::string_view text);
// nullopt for a bad escape.
std::optional<std::string> UnescapeJournalText(std::string_view text);
// "YYYY-MM-DDTHH:MM:SS.mmmZ" and back (nullopt when malformed).
std::string FormatJournalTime(std::int64_t ms);
std::optional<std::int64_t> ParseJournalTime(std::string_view text);

} // namespace zav
