#pragma once
// Writes the send journal (see journal.h): a file per exchange of a list, a record per
// line as soon as its reply is taken. Each record goes to the system at once, so that a
// crash of the program loses only the line in flight; a syncer thread of its own puts the
// file on the disk at most once a second, and at once when it ends, so that a power cut
// loses at most the last second and neither the reply path nor the window waits for the
// disk.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "serial/exchange_control.h"
#include "serial/exchange_observer.h"

namespace zav {

// Which journals go when a new one starts: the kept ones are at most maxCount and at most
// maxBytes in all, the newest kept first; one that is not settled (it did not end
// normally and its resume offer is unanswered) is never deleted, and counts as kept.
struct TJournalFile {
    std::filesystem::path Path;
    std::uintmax_t Size = 0;
    bool Settled = true;
};
inline constexpr std::size_t KeptJournals = 50;
inline constexpr std::uintmax_t KeptJournalBytes = 100u * 1024u * 1024u;
// files oldest first.
std::vector<std::filesystem::path> JournalsToDelete(const std::vector<TJournalFile>& files,
                                                    std::size_t maxCount = KeptJournals,
                                                    std::uintmax_t maxBytes = KeptJournalBytes);
// Deletes in logFolder what JournalsToDelete says, keeping room in the count for the
// journal about to start.
void PruneJournals(const std::filesystem::path& logFolder, std::size_t maxCount = KeptJournals,
                   std::uintmax_t maxBytes = KeptJournalBytes);

class TSendJournal : public IExchangeObserver {
public:
    struct TLinks {
        // The folder of the journals (the program's Log/), asked at each start.
        std::function<std::filesystem::path()> Folder;
        // The command file the list may have come from (the one loaded or saved last); the
        // journal names it when it holds the list sent.
        std::function<std::string()> ListFile;
        // Whether the port is open: a send that ends with it closed lost its device.
        std::function<bool()> Connected;
        const TExchangeControl& Control;
        const std::atomic<std::uint64_t>& PortLosses;
        // Main thread: a journal could not be written (the file's name).
        std::function<void(const std::string& fileName)> Failed;
    };
    explicit TSendJournal(TLinks links);
    ~TSendJournal() override; // ends an open journal as its last line ended
    TSendJournal(const TSendJournal&) = delete;
    TSendJournal& operator=(const TSendJournal&) = delete;

    // Main thread: the next exchange sends lines [first, end) of list (a send that starts
    // part-way); the journal keeps the whole list and numbers lines in it.
    void StartNextAt(std::vector<std::string> list, std::size_t first);
    // The folder the journals are written to.
    std::filesystem::path Folder() const { return links_.Folder(); }
    // Main thread: the journal written last by this object (empty before any).
    std::filesystem::path Current() const;

    void ExchangeRange(std::size_t first, std::size_t end) override;
    void ExchangeStarted(const std::vector<std::string>& lines) override;
    void LineDone(const TExchangeRecord& record) override;
    void ExchangeEnded(TSendOutcome outcome) override;

private:
    // Ends the open journal; without an outcome, as its last line ended.
    void Finish(std::optional<TSendOutcome> ended);
    void SyncLoop();
    // Under mutex_: one record to the system.
    void Put(const std::string& record);

    TLinks links_;
    // Main thread:
    std::optional<std::pair<std::vector<std::string>, std::size_t>> nextStart_;
    std::filesystem::path current_;
    std::vector<std::string> list_; // the whole list of the open journal
    std::size_t rangeFirst_ = 0;    // the first line the next exchange may send
    std::size_t rangeEnd_ = static_cast<std::size_t>(-1); // and one past its last
    std::size_t sendEnd_ = 0; // one past the last line of list_ the open journal's send has
    std::uint64_t lossesAtStart_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_:
    std::FILE* file_ = nullptr;
    bool dirty_ = false;             // written since the last sync
    std::vector<std::FILE*> ending_; // ended journals the syncer syncs and closes
    bool failed_ = false;            // a write failed: said once, at the end
    bool quit_ = false;
    std::size_t offset_ = 0;              // where the exchange's line 0 lies in list_
    std::optional<std::size_t> lastLine_; // index in the exchange of the last line done
    TSendOutcome lastOutcome_ = TSendOutcome::Accepted;

    std::thread syncer_; // last: it uses the members above
};

} // namespace zav
