// The command-list file pair: what lands on disk, what loading makes of odd files, and
// the Save / Load actions with their dialogs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "fakes.h"
#include "program-editing/command_files.h"
#include "state/encoded_stream.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Each byte as the scrambling stores it, worked out here rather than by the writer.
std::string Scrambled(const std::string& plain) {
    std::string out = plain;
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) + (0x17 + 0x2B + 0x05 + 0x3C + 0x11));
    return out;
}

class FakeDialogs : public IFileDialogs {
public:
    std::deque<std::optional<std::string>> answers;         // nothing left: cancel
    std::vector<std::pair<std::string, std::string>> shown; // folder, initial name
    std::optional<std::string> Next(const std::string& folder, const std::string& name) {
        shown.emplace_back(folder, name);
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseOpenFile(const std::string& f, const std::string& n) override {
        return Next(f, n);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& f, const std::string& n) override {
        return Next(f, n);
    }
};

class CommandFiles : public ::testing::Test {
protected:
    CommandFiles() {
        SetAppDir(folder.Path().string());
        std::filesystem::create_directories(folder.Path() / "Users");
        controller = std::make_unique<TController>(dispatcher, views.Views());
        controller->Files().AttachDialogs(&dialogs);
        views.messageBox.shown.clear();
        views.log.lines.clear();
    }
    std::string Users(const std::string& name) { return folder.File("Users/" + name); }
    std::string M(int n) { return controller->Lang().Message(n); }
    TCommandList& List() { return controller->MemoSend(); }

    TempFolder folder;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    FakeDialogs dialogs;
    std::unique_ptr<TController> controller;
};

TEST_F(CommandFiles, SavedPairIsScrambledCrLfWindows1251AndLoadsBack) {
    // A description in Cyrillic is stored as Windows-1251 (two bytes per letter in
    // UTF-8, one on disk).
    List().Assign({{"LD1", "\xD0\x97\xD0\xB0\xD0\xBF 1"}, {"BG", "Begin"}, {"SD200", "Speed 200"}});
    ASSERT_TRUE(controller->Files().SaveToFile(Users("p.zav")));
    EXPECT_EQ(folder.Read("Users/p.zav"), Scrambled("LD1\r\nBG\r\nSD200\r\n"));
    EXPECT_EQ(folder.Read("Users/p._zav"), Scrambled("\xC7\xE0\xEF 1\r\nBegin\r\nSpeed 200\r\n"));
    EXPECT_FALSE(std::filesystem::exists(Users("p.zav.new")));

    const auto saved = List().Rows();
    List().Clear();
    ASSERT_TRUE(controller->Files().LoadFromFile(Users("p.zav")));
    EXPECT_EQ(List().Rows(), saved);
    EXPECT_TRUE(views.log.lines.empty());
}

TEST_F(CommandFiles, EmptyListWritesTwoEmptyFiles) {
    ASSERT_TRUE(controller->Files().SaveToFile(Users("e.zav")));
    EXPECT_EQ(folder.Read("Users/e.zav"), "");
    EXPECT_EQ(folder.Read("Users/e._zav"), "");
}

TEST_F(CommandFiles, LoadEdgeCases) {
    struct Case {
        const char* name;
        std::string commands, descriptions; // plain text, scrambled on writing
        std::vector<TCommandRow> rows;
        bool wrong;
    };
    const Case cases[] = {
        {"empty", "", "", {}, false},
        {"lf ends", "BG\nEN\n", "a\nb\n", {{"BG", "a"}, {"EN", "b"}}, false},
        {"cr ends, no last end", "BG\rEN", "a\rb", {{"BG", "a"}, {"EN", "b"}}, false},
        {"fewer descriptions", "BG\r\nEN\r\n", "a\r\n", {{"BG", "a"}, {"EN", ""}}, false},
        {"more descriptions", "BG\r\n", "a\r\nb\r\nc\r\n", {{"BG", "a"}}, false},
        {"unknown command",
         "BG\r\nXX5\r\nEN\r\nED\r\n",
         "",
         {{"BG", ""}, {"XX5", ""}, {"EN", ""}, {"ED", ""}},
         true},
        {"empty line", "BG\r\n\r\nEN\r\n", "", {{"BG", ""}, {"", ""}, {"EN", ""}}, true},
        {"binary junk",
         std::string("\x00\xff\x01\x80*", 5),
         "",
         {{std::string("\x00\xD1\x8F\x01\xD0\x82*", 7), ""}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write("Users/l.zav", Scrambled(c.commands));
        folder.Write("Users/l._zav", Scrambled(c.descriptions));
        views.log.lines.clear();
        controller->Editor().SetListHasWrongCommand(false);
        ASSERT_TRUE(controller->Files().LoadFromFile(Users("l.zav")));
        EXPECT_EQ(List().Rows(), c.rows);
        EXPECT_EQ(controller->Editor().ListHasWrongCommand(), c.wrong);
        // One line however many lines follow the wrong one.
        EXPECT_EQ(views.log.lines.size(), c.wrong ? 1u : 0u);
        if (c.wrong) {
            EXPECT_TRUE(views.log.Red(0));
        }
    }
}

TEST_F(CommandFiles, FailuresLeaveListAndOldPairWhole) {
    List().Assign({{"BG", "Begin"}});
    ASSERT_TRUE(controller->Files().SaveToFile(Users("keep.zav")));
    const std::string oldCommands = folder.Read("Users/keep.zav");

    // Without its companion nothing is loaded.
    folder.Write("Users/alone.zav", Scrambled("EN\r\n"));
    EXPECT_FALSE(controller->Files().LoadFromFile(Users("alone.zav")));
    EXPECT_THAT(views.messageBox.shown, ElementsAre(M(1) + Users("alone._zav") + M(2)));
    EXPECT_EQ(List().Count(), 1u);

    // An unreadable command file: a message naming it, the list untouched.
    views.messageBox.shown.clear();
    std::filesystem::create_directory(Users("dir.zav"));
    folder.Write("Users/dir._zav", "");
    EXPECT_FALSE(controller->Files().LoadFromFile(Users("dir.zav")));
    ASSERT_EQ(views.messageBox.shown.size(), 1u);
    EXPECT_THAT(views.messageBox.shown[0], HasSubstr(Users("dir.zav")));
    EXPECT_EQ(List().Count(), 1u);

    // The description file cannot be written: the old pair stays as it was.
    views.messageBox.shown.clear();
    std::filesystem::create_directory(Users("keep._zav.new"));
    List().Assign({{"EN", "End"}});
    EXPECT_FALSE(controller->Files().SaveToFile(Users("keep.zav")));
    ASSERT_EQ(views.messageBox.shown.size(), 1u);
    EXPECT_THAT(views.messageBox.shown[0], HasSubstr(Users("keep.zav")));
    EXPECT_EQ(folder.Read("Users/keep.zav"), oldCommands);
    EXPECT_FALSE(std::filesystem::exists(Users("keep.zav.new")));

    // A folder that does not exist.
    views.messageBox.shown.clear();
    EXPECT_FALSE(controller->Files().SaveToFile(Users("none/x.zav")));
    EXPECT_THAT(views.messageBox.shown.at(0), HasSubstr("No such file or directory"));

    // A read-only folder (root writes there all the same).
    if (::geteuid() != 0) {
        views.messageBox.shown.clear();
        std::filesystem::permissions(folder.Path() / "Users", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        List().Assign({{"EN", "End"}});
        EXPECT_FALSE(controller->Files().SaveToFile(Users("keep.zav")));
        std::filesystem::permissions(folder.Path() / "Users", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        ASSERT_EQ(views.messageBox.shown.size(), 1u);
        EXPECT_THAT(views.messageBox.shown[0], HasSubstr(Users("keep.zav")));
        EXPECT_EQ(folder.Read("Users/keep.zav"), oldCommands);
        EXPECT_FALSE(std::filesystem::exists(Users("keep.zav.new")));
    }
}

TEST_F(CommandFiles, DialogsProposeANameAndRefuseOtherExtensions) {
    folder.Write("Users/Zav-Prog-1.zav", "");
    folder.Write("Users/Zav-Prog-3.zav", "");
    List().Assign({{"BG", "Begin"}});
    // list.ZAV and list.txt are refused with message 16 and the dialog comes again.
    dialogs.answers = {Users("list.ZAV"), Users("list.txt"), Users("Кириллица.zav")};
    controller->Files().mmFileSaveClick();
    EXPECT_THAT(views.messageBox.shown, ElementsAre(M(16), M(16)));
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].first, folder.Path().string() + "/Users");
    EXPECT_EQ(dialogs.shown[0].second, "Zav-Prog-2.zav");
    EXPECT_TRUE(std::filesystem::exists(Users("Кириллица._zav")));

    List().Clear();
    dialogs.shown.clear();
    dialogs.answers = {Users("Кириллица.zav")};
    controller->Files().mmFileOpenClick();
    EXPECT_EQ(dialogs.shown.at(0).second, "*.zav");
    EXPECT_EQ(List().Rows(), (std::vector<TCommandRow>{{"BG", "Begin"}}));

    // Cancelling changes nothing.
    controller->Files().mmFileOpenClick();
    EXPECT_EQ(List().Count(), 1u);
}

} // namespace
