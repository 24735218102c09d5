#include "journal/send_journal.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <system_error>

#include "journal/journal.h"
#include "program-editing/command_files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zav {

namespace {

// Puts what the system holds of the file on the disk; the file may be written meanwhile.
void SyncToDisk(int fd) {
#ifdef _WIN32
    _commit(fd);
#else
    ::fsync(fd);
#endif
}

int FileDescriptor(std::FILE* file) {
#ifdef _WIN32
    return _fileno(file);
#else
    return fileno(file);
#endif
}

std::int64_t EpochMs(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

const char* OutcomeWord(TSendOutcome outcome) {
    switch (outcome) {
    case TSendOutcome::Accepted:
        return "accepted";
    case TSendOutcome::CommandError:
        return "command-error";
    case TSendOutcome::DataError:
        return "data-error";
    case TSendOutcome::NoAnswer:
        return "no-answer";
    case TSendOutcome::Stopped:
        return "stopped";
    case TSendOutcome::EchoMismatch:
        return "echo-mismatch";
    }
    return "stopped";
}

// "send-YYYYMMDD-HHMMSS-mmm.zvj" of a time, from its journal form.
std::string JournalFileName(std::int64_t ms) {
    const std::string t = FormatJournalTime(ms); // YYYY-MM-DDTHH:MM:SS.mmmZ
    return "send-" + t.substr(0, 4) + t.substr(5, 2) + t.substr(8, 2) + "-" + t.substr(11, 2) +
           t.substr(14, 2) + t.substr(17, 2) + "-" + t.substr(20, 3) + ".zvj";
}

// candidate when the list is what that command file holds now, else empty: a list typed
// or changed since its file was loaded or saved came from no file.
std::string ListFileOf(const std::string& candidate, const std::vector<std::string>& list) {
    if (candidate.empty())
        return {};
    try {
        const std::vector<TCommandRow> rows = LoadCommandFiles(candidate);
        return std::equal(rows.begin(), rows.end(), list.begin(), list.end(),
                          [](const TCommandRow& row, const std::string& line) {
                              return row.Command == line;
                          })
                   ? candidate
                   : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

std::vector<std::filesystem::path> JournalsToDelete(const std::vector<TJournalFile>& files,
                                                    std::size_t maxCount, std::uintmax_t maxBytes) {
    // What may not go is kept first; the settled ones then fill what room is left, newest
    // first.
    std::size_t count = 0;
    std::uintmax_t bytes = 0;
    for (const TJournalFile& file : files)
        if (!file.Settled) {
            ++count;
            bytes += file.Size;
        }
    std::vector<std::filesystem::path> doomed;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (!it->Settled)
            continue;
        if (count < maxCount && bytes + it->Size <= maxBytes) {
            ++count;
            bytes += it->Size;
        } else {
            doomed.push_back(it->Path);
        }
    }
    std::reverse(doomed.begin(), doomed.end());
    return doomed;
}

void PruneJournals(const std::filesystem::path& logFolder, std::size_t maxCount,
                   std::uintmax_t maxBytes) {
    std::vector<TJournalFile> files;
    for (const std::filesystem::path& path : JournalFiles(logFolder)) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        files.push_back({path, ec ? 0 : size, JournalSettled(path)});
    }
    for (const std::filesystem::path& path :
         JournalsToDelete(files, maxCount > 0 ? maxCount - 1 : 0, maxBytes)) {
        std::error_code ec;
        std::filesystem::remove(path, ec); // one that cannot go is tried again next time
    }
}

TSendJournal::TSendJournal(TLinks links) : links_(std::move(links)) {
    syncer_ = std::thread([this] { SyncLoop(); });
}

TSendJournal::~TSendJournal() {
    links_.Failed = nullptr; // nobody is left to be told
    // The program is closing: its port may be closed already, which is no device loss.
    links_.Connected = nullptr;
    Finish(std::nullopt);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    syncer_.join(); // once it has synced and closed what was ended
}

void TSendJournal::StartNextAt(std::vector<std::string> list, std::size_t first) {
    nextStart_.emplace(std::move(list), first);
}

std::filesystem::path TSendJournal::Current() const {
    return current_;
}

void TSendJournal::ExchangeRange(std::size_t first, std::size_t end) {
    rangeFirst_ = first;
    rangeEnd_ = end;
}

void TSendJournal::ExchangeStarted(const std::vector<std::string>& lines) {
    // An exchange whose end was never taken back ends as its last line ended.
    Finish(std::nullopt);
    std::size_t offset = 0;
    if (nextStart_ && nextStart_->second <= nextStart_->first.size()) {
        list_ = std::move(nextStart_->first);
        offset = nextStart_->second;
    } else {
        list_ = lines;
    }
    nextStart_.reset();
    lossesAtStart_ = links_.PortLosses.load();
    // A send from a chosen line starts there, not at the list's first line.
    const auto first = std::find_if(
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(rangeFirst_, lines.size())),
        lines.end(), [](const std::string& line) { return !line.empty(); });
    // A send of part of the list is complete at the end of its part.
    sendEnd_ = rangeEnd_ < lines.size() ? offset + rangeEnd_ : list_.size();
    rangeFirst_ = 0;
    rangeEnd_ = static_cast<std::size_t>(-1);

    const std::filesystem::path folder = links_.Folder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    PruneJournals(folder);
    // Named by the start time; a name taken already moves on by a millisecond, so that
    // names still sort by time.
    std::int64_t ms = EpochMs(std::chrono::system_clock::now());
    const std::int64_t startedMs = ms;
    std::filesystem::path path;
    do
        path = folder / JournalFileName(ms++);
    while (std::filesystem::exists(path, ec));
    current_ = path;

    std::string header = "ZAVJOURNAL " + std::to_string(JournalVersion) + "\n";
    header += "started\t" + FormatJournalTime(startedMs) + "\n";
    header += "list\t" +
              EscapeJournalText(ListFileOf(links_.ListFile ? links_.ListFile() : "", list_)) + "\n";
    header +=
        "first\t" + std::to_string(offset + static_cast<std::size_t>(first - lines.begin())) + "\n";
    header += "lines\t" + std::to_string(list_.size()) + "\n";
    for (const std::string& line : list_)
        header += "L\t" + EscapeJournalText(line) + "\n";

#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wb"); // a data folder named in any language
#else
    std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
    std::lock_guard<std::mutex> lock(mutex_);
    offset_ = offset;
    file_ = file;
    failed_ = file == nullptr;
    lastLine_.reset();
    lastOutcome_ = TSendOutcome::Accepted;
    Put(header);
    dirty_ = true;
    wake_.notify_all();
}

void TSendJournal::Put(const std::string& record) {
    if (!file_)
        return;
    // One write per record, at once: the system holds it even if the program dies.
    if (std::fwrite(record.data(), 1, record.size(), file_) != record.size() ||
        std::fflush(file_) != 0)
        failed_ = true;
}

void TSendJournal::LineDone(const TExchangeRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_)
        return;
    Put("E\t" + FormatJournalTime(EpochMs(record.SentAt)) + "\t" +
        std::to_string(offset_ + record.Index) + "\t" + OutcomeWord(record.Outcome) + "\t" +
        std::to_string(record.Latency.count()) + "\t" + EscapeJournalText(record.Request) + "\t" +
        EscapeJournalText(record.Echo) + "\t" + EscapeJournalText(record.Reply) + "\n");
    lastLine_ = record.Index;
    lastOutcome_ = record.Outcome;
    if (!dirty_) {
        dirty_ = true;
        wake_.notify_all();
    }
}

void TSendJournal::ExchangeEnded(TSendOutcome outcome) {
    Finish(outcome);
}

void TSendJournal::Finish(std::optional<TSendOutcome> ended) {
    std::unique_lock<std::mutex> lock(mutex_);
    const TSendOutcome outcome = ended.value_or(lastOutcome_);
    if (!file_) {
        // No journal was open (or none could be made): say so once.
        const bool failed = failed_ && !current_.empty();
        failed_ = false;
        lock.unlock();
        if (failed && links_.Failed)
            links_.Failed(current_.string());
        return;
    }
    // The exchange ran over lines [offset_, end) of the list: it reached its end when its
    // last line that is not empty was done.
    std::optional<std::size_t> last;
    for (std::size_t k = std::min(sendEnd_, list_.size()); k > offset_; --k)
        if (!list_[k - 1].empty()) {
            last = k - 1 - offset_;
            break;
        }
    const bool reached = !last || lastLine_ == last;
    const TExchangeStop why = links_.Control.StopReason();
    const bool lost =
        why != TExchangeStop::Shutdown &&
        (why == TExchangeStop::PortLost || links_.PortLosses.load() != lossesAtStart_ ||
         (links_.Connected && !links_.Connected()));
    const bool answered = outcome == TSendOutcome::Accepted ||
                          outcome == TSendOutcome::CommandError ||
                          outcome == TSendOutcome::DataError;
    std::string end;
    if (lost)
        end = std::string("end\tdevice-lost\t") + OutcomeWord(outcome) + "\n";
    else if (reached && answered && (why == TExchangeStop::None || why == TExchangeStop::Operator))
        end = "end\tcompleted\n";
    else
        end = std::string("end\tstopped\t") + OutcomeWord(outcome) + "\n";
    Put(end);
    // The syncer puts it on the disk and closes it at once, so that the main thread
    // never waits for the disk.
    ending_.push_back(file_);
    file_ = nullptr;
    dirty_ = false;
    wake_.notify_all();
    const bool failed = failed_;
    failed_ = false;
    lock.unlock();
    if (failed && links_.Failed)
        links_.Failed(current_.string());
}

void TSendJournal::SyncLoop() {
    using namespace std::chrono;
    std::unique_lock<std::mutex> lock(mutex_);
    steady_clock::time_point lastSync{};
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !ending_.empty() || (dirty_ && file_); });
        if (!ending_.empty()) {
            std::vector<std::FILE*> ending;
            ending.swap(ending_);
            lock.unlock();
            for (std::FILE* file : ending) {
                SyncToDisk(FileDescriptor(file));
                // Every record was flushed when written: closing has nothing left to lose.
                std::fclose(file);
            }
            lock.lock();
            continue;
        }
        if (quit_)
            return;
        // At most once a second: what comes meanwhile waits for the next sync.
        const steady_clock::time_point due = lastSync + seconds(1);
        if (steady_clock::now() < due) {
            wake_.wait_until(lock, due, [this] { return quit_ || !ending_.empty(); });
            continue;
        }
        dirty_ = false;
        // The file stays open meanwhile: only this thread closes it.
        const int fd = FileDescriptor(file_);
        lock.unlock();
        SyncToDisk(fd);
        lock.lock();
        lastSync = steady_clock::now();
    }
}

} // namespace zav
