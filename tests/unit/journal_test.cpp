// The send journal's reader over sound and damaged files, the offer of unfinished
// journals, and which journals the retention deletes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "journal/journal.h"
#include "journal/send_journal.h"
#include "localisation/lang.h"

using namespace zav;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const std::string Header = "ZAVJOURNAL 1\n"
                           "started\t2026-12-09T18:35:12.123Z\n"
                           "list\t/home/op/\xd0\xbf.zvc\n"
                           "first\t0\n"
                           "lines\t3\n"
                           "L\tBG\n"
                           "L\tMV1\\t0\\\\\n"
                           "L\tEN\n";
const std::string Line0 = "E\t2026-12-09T18:35:12.200Z\t0\taccepted\t12\tBG\tBG\tE10*\n";
const std::string Line1 = "E\t2026-12-09T18:35:12.300Z\t1\tno-answer\t3000\tMV1\\t0\\\\\t"
                          "MV\\xFF\\x00\t\n";

class JournalFolder : public ::testing::Test {
protected:
    JournalFolder()
        : dir(std::filesystem::temp_directory_path() /
              ("zav-journal-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir);
    }
    ~JournalFolder() override { std::filesystem::remove_all(dir); }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }
    std::filesystem::path dir;
};

struct ReaderRow {
    const char* what;
    std::string bytes;
    std::uintmax_t sparseSize; // made as a sparse file of this size instead
    int problem;               // 0: read
    std::size_t fileLine;
    std::size_t entries;
    TJournalEnd end;
    bool answered;
};

TEST_F(JournalFolder, ReaderTakesSoundFilesAndSaysWhyItRefusesDamagedOnes) {
    const ReaderRow rows[] = {
        {"completed", Header + Line0 + Line1 + "end\tcompleted\n", 0, 0, 0, 2,
         TJournalEnd::Completed, false},
        {"cut last line dropped", Header + Line0 + Line1.substr(0, 20), 0, 0, 0, 1,
         TJournalEnd::Open, false},
        {"device lost, answered",
         Header + Line0 + "end\tdevice-lost\tno-answer\nanswered\t2026-12-09T19:00:00.000Z\n", 0, 0,
         0, 1, TJournalEnd::DeviceLost, true},
        {"empty", "", 0, msgJournalTruncatedHeader, 0, 0, TJournalEnd::Open, false},
        {"zeros", std::string(4096, '\0'), 0, msgJournalTruncatedHeader, 0, 0, TJournalEnd::Open,
         false},
        {"header cut in the list", Header.substr(0, Header.size() - 4), 0,
         msgJournalTruncatedHeader, 0, 0, TJournalEnd::Open, false},
        {"header cut after the count", Header.substr(0, Header.find("L\t")), 0,
         msgJournalTruncatedHeader, 0, 0, TJournalEnd::Open, false},
        {"damaged middle line", Header + Line0 + "E\tgarbage\n" + Line1, 0, msgJournalDamagedLine,
         10, 0, TJournalEnd::Open, false},
        {"bad escape", Header + "E\t2026-12-09T18:35:12.200Z\t0\taccepted\t1\tB\\q\t\t\n", 0,
         msgJournalDamagedLine, 9, 0, TJournalEnd::Open, false},
        {"line beyond the list", Header + "E\t2026-12-09T18:35:12.200Z\t3\taccepted\t1\tX\t\t\n", 0,
         msgJournalDamagedLine, 9, 0, TJournalEnd::Open, false},
        {"record after the end", Header + "end\tcompleted\n" + Line0, 0, msgJournalDamagedLine, 10,
         0, TJournalEnd::Open, false},
        {"not a journal", "hello\n", 0, msgJournalDamagedLine, 1, 0, TJournalEnd::Open, false},
        {"newer version", "ZAVJOURNAL 2\nwhatever comes\n", 0, msgJournalNewerVersion, 0, 0,
         TJournalEnd::Open, false},
        {"1 GB, sparse", "", 1u << 30, msgJournalTooLarge, 0, 0, TJournalEnd::Open, false},
    };
    for (const ReaderRow& row : rows) {
        SCOPED_TRACE(row.what);
        const auto path = Write("send-1.zvj", row.bytes);
        if (row.sparseSize)
            std::filesystem::resize_file(path, row.sparseSize);
        TJournalProblem problem{-1, 99};
        const auto journal = ReadJournal(path, problem);
        EXPECT_EQ(problem.Message, row.problem);
        EXPECT_EQ(problem.FileLine, row.fileLine);
        ASSERT_EQ(journal.has_value(), row.problem == 0);
        if (!journal)
            continue;
        EXPECT_EQ(journal->StartedMs, 1796841312123);
        EXPECT_EQ(journal->ListFile, "/home/op/\xd0\xbf.zvc");
        EXPECT_THAT(journal->Lines, ElementsAre("BG", "MV1\t0\\", "EN"));
        ASSERT_EQ(journal->Entries.size(), row.entries);
        EXPECT_EQ(journal->Entries[0].Reply, "E10*");
        if (row.entries > 1) {
            const TJournalEntry& e = journal->Entries[1];
            EXPECT_EQ(e.Line, 1u);
            EXPECT_EQ(e.Request, "MV1\t0\\");
            EXPECT_EQ(e.Echo, std::string("MV\xFF\0", 4));
            EXPECT_EQ(e.Outcome, "no-answer");
            EXPECT_EQ(e.LatencyMs, 3000);
            EXPECT_EQ(e.TimeMs, 1796841312300);
        }
        EXPECT_EQ(journal->End, row.end);
        EXPECT_EQ(journal->Answered, row.answered);
    }
}

TEST(JournalText, AnyBytesMakeOneLineAndComeBackAsTheyWere) {
    const std::string texts[] = {"",
                                 "MV100",
                                 std::string("a\tb\nc\rd\\e\0f\x7f", 12),
                                 "\xd0\xbf\xd1\x80",
                                 "\xff\xc0\x80\xed\xa0\x80\xe2\x82",
                                 "trailing\\"};
    for (const std::string& text : texts) {
        const std::string escaped = EscapeJournalText(text);
        EXPECT_EQ(escaped.find_first_of(std::string("\t\n\r\0", 4)), std::string::npos);
        EXPECT_EQ(UnescapeJournalText(escaped), text);
    }
}

TEST_F(JournalFolder, UnfinishedJournalsAreOfferedNewestFirstUntilAnswered) {
    const std::string end = "end\tcompleted\n";
    Write("send-20261209-100000-000.zvj", Header + Line0 + end);
    Write("send-20261209-110000-000.zvj",
          Header + Line0 + "end\tdevice-lost\taccepted\n"); // started later in its header
    Write("send-20261209-120000-000.zvj", Header + Line0 + "end\tstopped\tno-answer\n");
    Write("send-20261209-130000-000.zvj", Header.substr(0, 10)); // unreadable: not offered
    const auto cut = Write("send-20261209-140000-000.zvj", Header + Line0 + Line1.substr(0, 9));
    std::string started = Header;
    started.replace(started.find("18:35"), 5, "19:35");
    Write("send-20261209-110000-000.zvj", started + Line0 + "end\tdevice-lost\taccepted\n");

    const auto names = [&] {
        std::vector<std::string> found;
        for (const TJournal& journal : UnfinishedJournals(dir))
            found.push_back(journal.Path.filename().string());
        return found;
    };
    EXPECT_THAT(names(),
                ElementsAre("send-20261209-110000-000.zvj", "send-20261209-140000-000.zvj"));
    std::vector<bool> settled;
    for (const auto& file : JournalFiles(dir))
        settled.push_back(JournalSettled(file));
    EXPECT_THAT(settled, ElementsAre(true, false, true, false, false));

    ASSERT_TRUE(MarkAnswered(cut));
    EXPECT_THAT(names(), ElementsAre("send-20261209-110000-000.zvj"));
    TJournalProblem problem;
    const auto answered = ReadJournal(cut, problem);
    ASSERT_TRUE(answered);
    EXPECT_TRUE(answered->Answered);
    EXPECT_EQ(answered->Entries.size(), 1u);
    EXPECT_TRUE(JournalSettled(cut));
}

struct RetentionRow {
    const char* what;
    std::vector<TJournalFile> files; // oldest first
    std::size_t maxCount;
    std::uintmax_t maxBytes;
    std::vector<std::string> deleted;
};

TEST(JournalRetention, OldestGoBeyondTheCountOrTheSizeButNeverAnUnsettledOne) {
    const auto f = [](const char* name, std::uintmax_t size, bool settled = true) {
        return TJournalFile{name, size, settled};
    };
    const RetentionRow rows[] = {
        {"within both", {f("a", 10), f("b", 10)}, 3, 100, {}},
        {"count", {f("a", 10), f("b", 10), f("c", 10), f("d", 10)}, 2, 100, {"a", "b"}},
        {"size", {f("a", 60), f("b", 30), f("c", 30)}, 10, 100, {"a"}},
        {"size smaller than count", {f("a", 40), f("b", 40), f("c", 40)}, 3, 100, {"a"}},
        {"unsettled kept and counted",
         {f("a", 10, false), f("b", 10), f("c", 10), f("d", 10)},
         3,
         100,
         {"b"}},
        {"unsettled over the limit alone", {f("a", 200, false), f("b", 10)}, 5, 100, {"b"}},
        {"a newer big one pushes out older",
         {f("a", 10), f("b", 10), f("c", 95)},
         5,
         100,
         {"a", "b"}},
    };
    for (const RetentionRow& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::string> deleted;
        for (const auto& path : JournalsToDelete(row.files, row.maxCount, row.maxBytes))
            deleted.push_back(path.string());
        EXPECT_THAT(deleted, ElementsAreArray(row.deleted));
    }
}

} // namespace
