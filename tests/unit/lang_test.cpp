#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "command-language/zav_commands.h"
#include "fakes.h"
#include "localisation/lang.h"
#include "state/common_datas.h"
#include "state/paths.h"
#include "state/text_file.h"

using namespace zav;
using namespace zav::test;

namespace {
// The language files delivered with the program, in the source tree.
const std::filesystem::path SourceDir = ZAV_SOURCE_DIR;

class Lang : public testing::Test {
protected:
    Lang() { SetAppDir(dir.Path().string()); }

    // Writes lang/en/en<key>.lng with a title line and then the given lines.
    void WriteSection(const std::string& key, const std::vector<std::string>& lines) {
        std::string bytes = "title\r\n";
        for (const auto& line : lines)
            bytes += line + "\r\n";
        dir.Write("lang/en/en" + key + ".lng", bytes);
    }
    std::string NotFound(const std::string& key) const {
        return " *File" + dir.File("lang/en/en" + key + ".lng") + " *not found or damaged!";
    }

    TempFolder dir;
    RecordingMessageBox box;
    RecordingLog log;
    TCommonDatas datas;
};
} // namespace

TEST(LangParse, LineNumbers) {
    struct Case {
        std::string line;
        int number;
        std::string text;
    } cases[] = {
        {"{12} abc", 12, "abc"},
        {"{12}abc", 12, "abc"},
        {"{12}  abc ", 12, " abc "},
        {"a12} x", 12, "x"},
        {"{ 1 2 } x", 12, "x"},
        {"{1} a}b", 1, "a}b"},
        {"{-5} x", 5, "x"},
        {"{12}", 12, ""},
        {"{1}", 0, ""},
        {"1} ", 0, ""},
        {"", 0, ""},
        {"no closing brace", 0, ""},
        {"7}\xD0\x96", 0, ""}, // three characters, four bytes
        {"{2147483647} x", 2147483647, "x"},
        {"{000000000000000000001} x", 1, "x"},
    };
    for (auto c : cases) {
        std::string line = c.line;
        EXPECT_EQ(TLang::ParseLineNumber(line), c.number) << c.line;
        EXPECT_EQ(line, c.text) << c.line;
    }
    for (std::string bad : {"{} text", "{abc} x", "{1/2} x", "{1:} x", "{2147483648} x",
                            "{99999999999999999999} x"}) {
        EXPECT_THROW(TLang::ParseLineNumber(bad), EConvertError) << bad;
    }
}

TEST_F(Lang, MissingFilesReportAndKeepGoing) {
    TLang lang(datas, &box, &log);
    ASSERT_EQ(box.shown, std::vector<std::string>{NotFound("msg")});
    EXPECT_EQ(lang.Messages.size(), static_cast<std::size_t>(TLang::InitialMessages));
    EXPECT_EQ(lang.Messages[0], "msg");
    EXPECT_EQ(lang.Message(22), "*No reply from the controller!");
    EXPECT_EQ(lang.Message(86), "");
    EXPECT_EQ(lang.FormTexts[15], "*permamnent motion");

    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(box.shown.back(), NotFound("f1"));
    ASSERT_EQ(lang.FormTexts.size(), 58u);
    EXPECT_EQ(lang.FormTexts[0], "f1");
    for (std::size_t k = 1; k < lang.FormTexts.size(); ++k)
        EXPECT_EQ(lang.FormTexts[k], " ") << k;

    // A folder in the file's place cannot be read either.
    std::filesystem::create_directories(dir.Path() / "lang/en/enaddf.lng");
    EXPECT_TRUE(lang.LoadFormTexts("addf"));
    EXPECT_EQ(box.shown.back(), NotFound("addf"));

    // A language name that would leave the lang folder is no language.
    datas.Language = "..";
    EXPECT_TRUE(lang.LoadMessages());
    EXPECT_EQ(lang.Message(22), "*No reply from the controller!");
    EXPECT_EQ(box.shown.size(), 4u);
}

TEST_F(Lang, GrowsKeepsAndBlanksByTable) {
    std::vector<std::string> lines;
    for (int k = 1; k < 70; ++k)
        lines.push_back("{" + std::to_string(k) + "} text " + std::to_string(k));
    WriteSection("addf", lines);
    TLang lang(datas, &box, &log);
    EXPECT_TRUE(lang.LoadFormTexts("addf"));
    ASSERT_EQ(lang.FormTexts.size(), 70u);
    EXPECT_EQ(lang.FormTexts[0], "addf");
    EXPECT_EQ(lang.FormTexts[69], "text 69");

    // A shorter section never shrinks the table; what it lacks is blank.
    WriteSection("f1", {"{1} One", "{2} Two"});
    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(lang.FormTexts.size(), 70u);
    EXPECT_EQ(lang.FormTexts[2], "Two");
    EXPECT_EQ(lang.FormTexts[3], " ");
    EXPECT_EQ(lang.FormTexts[69], " ");

    // Messages the file does not supply keep what they had.
    WriteSection("msg", {"{1} A", "{2} B"});
    EXPECT_TRUE(lang.LoadMessages());
    EXPECT_EQ(lang.Message(2), "B");
    EXPECT_EQ(lang.Message(3), "*port: ");
    EXPECT_EQ(box.shown, std::vector<std::string>{NotFound("msg")}) << "only at creation";
}

TEST_F(Lang, MisnumberedAndUnconvertibleLines) {
    WriteSection("f1", {"{1} One", "", "{2} Two", "{4} Four", "{5}", "{6} Six"});
    TLang lang(datas, &box, &log);
    EXPECT_FALSE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(lang.FormTexts[1], "One");
    for (int k : {2, 3, 5})
        EXPECT_EQ(lang.FormTexts[static_cast<std::size_t>(k)], " ") << k;
    EXPECT_EQ(lang.FormTexts[4], "Four");
    EXPECT_EQ(lang.FormTexts[6], "Six");
    EXPECT_TRUE(box.shown.size() == 1u) << "only the missing message file";

    // A number that cannot be converted ends the load with the not-found box.
    WriteSection("f1", {"{1} One", "{x} bad", "{3} Three"});
    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(box.shown.back(), NotFound("f1"));
    EXPECT_EQ(lang.FormTexts[1], "One");
    EXPECT_EQ(lang.FormTexts[3], " ");

    WriteSection("msg", {"{1} A", "{9} B", "{3} C", "{99999999999} D", "{5} E"});
    EXPECT_FALSE(lang.LoadMessages()) << "line 2 was wrong before the failure";
    EXPECT_EQ(box.shown.back(), "A" + dir.File("lang/en/enmsg.lng") + " *not found or damaged!");
    EXPECT_EQ(lang.Message(2), " *not found or damaged!");
    EXPECT_EQ(lang.Message(3), "C");
    EXPECT_EQ(lang.Message(5), "*bit, ");
}

TEST_F(Lang, HostileAndForeignFiles) {
    TLang lang(datas, &box, &log);
    // Binary garbage: no crash, no unbounded growth.
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>(random());
    dir.Write("lang/en/enf1.lng", garbage);
    lang.LoadFormTexts("f1");
    EXPECT_LE(lang.FormTexts.size(), 20001u);
    EXPECT_EQ(lang.FormTexts[0], "f1");

    // NUL bytes stay inside the text; a long line is cut at 4096 characters.
    dir.Write("lang/en/enf1.lng", "t\r\n{1} a" + std::string(1, '\0') + "b\r\n{2} " +
                                      std::string(10000, 'x') + "\r\n{3} ok");
    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(lang.FormTexts[1], std::string("a\0b", 3));
    EXPECT_EQ(lang.FormTexts[2], std::string(4096 - 4, 'x'));
    EXPECT_EQ(lang.FormTexts[3], "ok");

    // UTF-8 and the 8-bit code page give the same text.
    dir.Write("lang/en/enf1.lng", "t\r\n{1} \xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\r\n");
    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    EXPECT_EQ(lang.FormTexts[1], "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB");
    dir.Write("lang/en/enf1.lng", "t\r\n{1} \xD4\xE0\xE9\xEB\r\n2}\xC6\r\n");
    EXPECT_FALSE(lang.LoadFormTexts("f1")) << "line 2 is three characters";
    EXPECT_EQ(lang.FormTexts[1], "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB");
    EXPECT_EQ(lang.FormTexts[2], " ");
}

TEST_F(Lang, ReportDamagedFileInRed) {
    TLang lang(datas, &box, &log);
    lang.ReportDamagedFile();
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].text, "*One of language files is damaged.");
    EXPECT_EQ(log.lines[0].color, clRed);
}

// The English files delivered beside the program load cleanly and fill every entry.
TEST(LangFiles, DeliveredEnglishFilesLoad) {
    const auto langDir = SourceDir / "lang";
    for (const char* name : {"lang.lng", "en/enf1.lng", "en/enaddf.lng", "en/enmsg.lng"}) {
        std::ifstream in(langDir / name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            ASSERT_TRUE((b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n') << name << " @" << i;
            if (b == '\r') {
                ASSERT_EQ(bytes[i + 1], '\n') << name << " @" << i;
            }
            if (b == '\n') {
                ASSERT_EQ(bytes[i - 1], '\r') << name << " @" << i;
            }
        }
    }
    EXPECT_EQ(LoadLanguageLines((langDir / "lang.lng").string()),
              (std::vector<std::string>{"en", "ru"}));

    SetAppDir(SourceDir.string());
    RecordingMessageBox box;
    RecordingLog log;
    TCommonDatas datas;
    TLang lang(datas, &box, &log);
    // Numbers without a built-in text after 86 are unused.
    const auto builtIn = TLang::BuiltInMessages();
    auto filled = [&](const std::vector<std::string>& table, std::size_t size) {
        EXPECT_EQ(table.size(), size);
        for (std::size_t k = 1; k < table.size(); ++k) {
            if (table[0] == "msg" && k > 86 && builtIn.at(k).empty())
                continue;
            EXPECT_FALSE(table[k].empty() || table[k] == " ") << k;
            const std::size_t first = table[k].find_first_not_of(' ');
            EXPECT_FALSE(first != std::string::npos && table[k][first] == '*')
                << k << ": " << table[k];
        }
    };
    ASSERT_TRUE(lang.LoadMessages());
    filled(lang.Messages, TLang::InitialMessages);
    EXPECT_TRUE(lang.LoadFormTexts("f1"));
    filled(lang.FormTexts, 58);
    EXPECT_TRUE(lang.LoadFormTexts("addf"));
    filled(lang.FormTexts, TLang::DialogTextCount + 1);
    EXPECT_TRUE(box.shown.empty());

    // Blanks that separate a text from the value appended to it.
    EXPECT_EQ(lang.Message(1).front(), ' ');
    EXPECT_EQ(lang.Message(2).front(), ' ');
    EXPECT_EQ(lang.Message(25).back(), '"');
    EXPECT_EQ(lang.Message(44), " coordinate ");
    EXPECT_EQ(lang.Message(53), " to  ");
    EXPECT_EQ(lang.Message(65), " ms  ");
    lang.LoadFormTexts("f1");
    EXPECT_EQ(lang.FormTexts[52], "Coordinates:    ");

    TZavCommands commands(datas, lang, &box, nullptr);
    commands.BuildCatalogue();
    EXPECT_EQ(commands.Commands(ciSC).Description, "Movement scale ");
    EXPECT_EQ(commands.Commands(ciMV).RangeMessage,
              "Enter a correct number of steps: from  1 to  10000000");
}
