// The settings files and the logs: their lines, reading damaged files, and what closing
// writes when some files cannot be written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "controller/controller.h"
#include "fakes.h"
#include "settings/error_settings_file.h"
#include "settings/log_files.h"
#include "settings/program_settings_file.h"
#include "state/number_format.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {
namespace {

using test::TempFolder;
using testing::ElementsAre;
using Lines = std::vector<std::string>;

const Lines DefaultErrorLines{"-1", "1", "1", "-1", "-1", "300", "-1"};
const Lines DefaultProgramLines{"0",  "-1", "0",  "0",    "0", "-1", "-1", "-1", "0",  "-1", "-1",
                                "-1", "-1", "-1", "Step", "1", "0",  "0",  "en", "-1", "0"};

auto ErrorFields(const TErrorSettings& v) {
    return std::make_tuple(v.AutoRecovery, v.StopOnCommandError, v.StopOnDataError,
                           v.RecoveryStopRecording, v.RecoveryClearBuffers, v.ReplyTimeout,
                           v.EchoCheck);
}

TEST(ErrorSettingsFile, LinesAndTheirReading) {
    EXPECT_EQ(TErrorSettingsFile::Lines({}), DefaultErrorLines);
    const TErrorSettings changed{false, 0, 0, false, true, 2500, false};
    const Lines changedLines{"0", "0", "0", "0", "-1", "2500", "0"};
    EXPECT_EQ(TErrorSettingsFile::Lines(changed), changedLines);

    struct Row {
        Lines lines;
        bool complete;
        TErrorSettings expected;
    };
    const TErrorSettings d; // what the values held before the reading
    const Row rows[] = {
        {changedLines, true, changed},
        {{"TRUE", "257", "-255", "false", "7", "300", "False", "a later line"},
         true,
         {true, 1, 1, false, true, 300, false}},
        // A file of the six lines before the echo check keeps the check on.
        {{"0", "0", "0", "0", "0", "300"}, true, {false, 0, 0, false, false, 300, true}},
        {{"0", "0", "0", "0", "0", "300", "maybe"}, false, {false, 0, 0, false, false, 300}},
        // A reply time outside 1..10000 is brought into it.
        {{"0", "1", "1", "-1", "-1", "0"}, true, {false, 1, 1, true, true, 1}},
        {{"0", "1", "1", "-1", "-1", "-5"}, true, {false, 1, 1, true, true, 1}},
        {{"0", "1", "1", "-1", "-1", "99999"}, true, {false, 1, 1, true, true, 10000}},
        // The values before a bad line are taken, the rest keep what they held.
        {{"0", "0", "1099511627776", "0"}, false, {false, 0, 1, true, true, 300}},
        {{"0", "nan"}, false, {false, 1, 1, true, true, 300}},
        {{"yes"}, false, d},
        {{"0", "0", "0", "0", "0", "3.5"}, false, {false, 0, 0, false, false, 300}},
        {{}, false, d},
    };
    for (const Row& row : rows) {
        TErrorSettings values;
        EXPECT_EQ(TErrorSettingsFile::Read(row.lines, values), row.complete) << row.lines.size();
        EXPECT_EQ(ErrorFields(values), ErrorFields(row.expected))
            << testing::PrintToString(row.lines);
    }
}

TEST(ErrorSettingsFile, TypedReplyTimeIsRefusedBelowTheLeast) {
    const std::tuple<const char*, bool, std::int32_t> rows[] = {
        {"2500", true, 2500}, {" 1 ", true, 1},   {"99999", true, 10000}, {"", false, 300},
        {"0", false, 300},    {"-5", false, 300}, {"abc", false, 300},    {"2.5", false, 300},
    };
    for (const auto& [text, accepted, stored] : rows) {
        std::int32_t time = 300;
        EXPECT_EQ(TErrorSettingsFile::ReplyTimeoutFromText(text, time), accepted) << text;
        EXPECT_EQ(time, stored) << text;
    }
}

TEST(ProgramSettingsFile, LinesAndTheirReading) {
    EXPECT_EQ(TProgramSettingsFile::Lines({}), DefaultProgramLines);
    // Without the units lines the language follows the flags directly.
    TProgramSettings noUnits;
    noUnits.SaveUnits = false;
    noUnits.Language = "ru";
    noUnits.ReconnectLostDevice = false;
    Lines short15(DefaultProgramLines.begin(), DefaultProgramLines.begin() + 14);
    short15[11] = "0";
    short15.push_back("ru");
    Lines noUnitsLines = short15;
    noUnitsLines.push_back("0");
    noUnitsLines.push_back("0");
    EXPECT_EQ(TProgramSettingsFile::Lines(noUnits), noUnitsLines);

    TProgramSettings held;
    held.UnitsName = "mm";
    held.Scale = 4;
    TProgramSettings read = held;
    ASSERT_TRUE(TProgramSettingsFile::Read(short15, read));
    EXPECT_EQ(read.Language, "ru");
    EXPECT_EQ(read.UnitsName, "mm");
    EXPECT_EQ(read.Scale, 4);

    // The scale is read with either separator, and indexes are bounded to the groups.
    for (char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        for (const char* scale : {"2.5", "2,5"}) {
            Lines lines = DefaultProgramLines;
            lines[8] = "7";
            lines[15] = scale;
            lines[17] = "-4";
            TProgramSettings v;
            ASSERT_TRUE(TProgramSettingsFile::Read(lines, v)) << scale;
            EXPECT_EQ(v.Scale, 2.5) << scale;
            EXPECT_EQ(v.ControlMode, 1);
            EXPECT_EQ(v.UnitsIndex, -1);
        }
        TProgramSettings v;
        v.Scale = 2.5;
        EXPECT_EQ(TProgramSettingsFile::Lines(v)[15], std::string("2") + separator + "5");
    }

    // The reconnect line comes after the language: a file written before it existed is
    // complete and keeps the default; a later version's lines after it are ignored.
    const Lines older(DefaultProgramLines.begin(), DefaultProgramLines.end() - 2);
    auto with = [](Lines lines, const char* last) {
        lines.push_back(last);
        return lines;
    };
    const std::tuple<Lines, bool, bool> reconnectRows[] = {
        {older, true, true},
        {short15, true, true},
        {noUnitsLines, true, false},
        {with(older, "0"), true, false},
        {with(older, "maybe"), false, true},
        {with(with(with(older, "0"), "0"), "a later line"), true, false},
    };
    for (const auto& [lines, complete, reconnect] : reconnectRows) {
        TProgramSettings v;
        EXPECT_EQ(TProgramSettingsFile::Read(lines, v), complete) << testing::PrintToString(lines);
        EXPECT_EQ(v.ReconnectLostDevice, reconnect) << testing::PrintToString(lines);
    }

    // Asking before sending a list with warnings comes after the reconnect line, off
    // unless a file says otherwise.
    const Lines withoutAsk(DefaultProgramLines.begin(), DefaultProgramLines.end() - 1);
    const std::tuple<Lines, bool, bool> askRows[] = {
        {older, true, false},
        {withoutAsk, true, false},
        {with(withoutAsk, "-1"), true, true},
        {with(with(withoutAsk, "True"), "a later line"), true, true},
        {with(withoutAsk, "maybe"), false, false},
    };
    for (const auto& [lines, complete, ask] : askRows) {
        TProgramSettings v;
        EXPECT_EQ(TProgramSettingsFile::Read(lines, v), complete) << testing::PrintToString(lines);
        EXPECT_EQ(v.AskBeforeSendingWarnings, ask) << testing::PrintToString(lines);
    }

    // A file cut at any line before the added one: the values before it are taken, the
    // rest keep their own.
    Lines full = DefaultProgramLines;
    for (std::size_t i = 0; i < 14; ++i)
        full[i] = full[i] == "0" ? "-1" : "0";
    full[11] = "-1"; // units lines present
    full[14] = "inch";
    full[15] = "3";
    full[16] = "2";
    for (std::size_t cut = 0; cut < older.size(); ++cut) {
        TProgramSettings v;
        EXPECT_FALSE(TProgramSettingsFile::Read(Lines(full.begin(), full.begin() + cut), v));
        const auto lines = TProgramSettingsFile::Lines(v);
        for (std::size_t i = 0; i < full.size(); ++i)
            EXPECT_EQ(lines[i], i < cut ? full[i] : TProgramSettingsFile::Lines({})[i])
                << "cut " << cut << " line " << i;
    }

    // Values that cannot be converted end the reading at their line.
    const std::pair<std::size_t, const char*> bad[] = {
        {0, "maybe"}, {8, "1099511627776"}, {8, "1.5"}, {15, "nan"}, {15, "1e999"}, {16, "x"},
    };
    for (auto [line, text] : bad) {
        Lines lines = DefaultProgramLines;
        lines[line] = text;
        TProgramSettings v;
        EXPECT_FALSE(TProgramSettingsFile::Read(lines, v)) << line << " " << text;
    }
}

TEST(ProgramSettingsFile, ValueOutOfRangeTakesItsDefaultAndTheReadingGoesOn) {
    struct Row {
        std::vector<std::pair<std::size_t, const char*>> changed;
        bool complete;
        std::vector<std::size_t> refused;
        double scale;
        std::uint8_t rounding;
        const char* language;
    };
    // Held before the reading: scale 7, rounding 1, "de"; the file says 3, 2 and "ru".
    const Row rows[] = {
        {{}, true, {}, 3, 2, "ru"},
        {{{15, "-2"}}, true, {15}, 1, 2, "ru"},
        {{{15, "0"}}, true, {15}, 1, 2, "ru"},
        {{{15, "1e-320"}}, true, {15}, 1, 2, "ru"},
        {{{16, "3"}}, true, {16}, 3, 0, "ru"},
        {{{15, "-2"}, {16, "-1"}}, true, {15, 16}, 1, 0, "ru"},
        // Text that is no number still ends the reading; the rest keep what they held.
        {{{15, "-2"}, {16, "two"}}, false, {15}, 1, 1, "de"},
        {{{15, "abc"}}, false, {}, 7, 1, "de"},
    };
    for (const Row& row : rows) {
        Lines lines = DefaultProgramLines;
        lines[15] = "3";
        lines[16] = "2";
        lines[18] = "ru";
        for (const auto& [line, text] : row.changed)
            lines[line] = text;
        TProgramSettings v;
        v.Scale = 7;
        v.Rounding = 1;
        v.Language = "de";
        std::vector<std::size_t> refused;
        SCOPED_TRACE(testing::PrintToString(row.changed));
        EXPECT_EQ(TProgramSettingsFile::Read(lines, v, &refused), row.complete);
        EXPECT_EQ(refused, row.refused);
        EXPECT_EQ(v.Scale, row.scale);
        EXPECT_EQ(v.Rounding, row.rounding);
        EXPECT_EQ(v.Language, row.language);
    }
}

class SettingsOnDisk : public testing::Test {
protected:
    void SetUp() override {
        previous_ = AppDir();
        SetAppDir(dir_.Path().string());
        std::filesystem::create_directories(dir_.Path() / "Data");
        std::filesystem::create_directories(dir_.Path() / "Log");
    }
    void TearDown() override { SetAppDir(previous_); }
    std::unique_ptr<TController> NewController() {
        auto c = std::make_unique<TController>(dispatcher_, views_.Views());
        views_.messageBox.shown.clear(); // the missing language files
        return c;
    }
    std::string Damaged(TController& c, const std::string& file) {
        return c.Lang().Message(1) + dir_.File(file) + c.Lang().Message(2);
    }

    TempFolder dir_;
    std::string previous_;
    TQueueDispatcher dispatcher_;
    test::RecordingViews views_;
};

TEST_F(SettingsOnDisk, DamagedFilesAreReportedAsOftenAsTheyFail) {
    auto c = NewController();
    const std::string junk(10 << 20, '\x01');
    struct Row {
        const char* name;
        std::string bytes; // empty: no file
        int reports;
    };
    const Row rows[] = {
        {"missing", "", 2},
        {"ten megabytes of junk", junk, 1},
        {"garbage bytes", std::string("\xff\x00\x80\r\n\r\n", 6), 1},
    };
    for (const Row& row : rows) {
        for (const char* file : {"Data/erp.dat", "Data/prp.dat"}) {
            std::filesystem::remove(dir_.File(file));
            if (!row.bytes.empty())
                dir_.Write(file, row.bytes);
            views_.messageBox.shown.clear();
            if (std::string(file) == "Data/erp.dat")
                c->SettingsFiles().LoadErrorSettings();
            else
                c->SettingsFiles().LoadProgramSettings();
            EXPECT_EQ(views_.messageBox.shown, Lines(row.reports, Damaged(*c, file)))
                << row.name << " " << file;
        }
    }
    // Defaults kept throughout.
    EXPECT_EQ(TErrorSettings::Of(c->CommonDatas()).ReplyTimeout, 300);
    EXPECT_EQ(c->CommonDatas().Language, "en");
}

TEST_F(SettingsOnDisk, ValuesOutOfRangeAreReportedOnceAtStartUp) {
    Lines lines = DefaultProgramLines;
    lines[15] = "-2";
    lines[16] = "7";
    lines[19] = "0"; // after the language: the reading went on
    SaveLines(dir_.File("Data/prp.dat"), lines, true);
    auto c = NewController(); // the first reading reports nothing
    c->SettingsFiles().LoadProgramSettings();
    const TLang& lang = c->Lang();
    EXPECT_THAT(views_.messageBox.shown,
                ElementsAre(lang.Message(msgSettingDefaultTaken) + dir_.File("Data/prp.dat") +
                            ": " + lang.Message(msgSettingsLine) + "16 (-2), " +
                            lang.Message(msgSettingsLine) + "17 (7)"));
    EXPECT_EQ(c->CommonDatas().Scale, 1);
    EXPECT_EQ(c->CommonDatas().Rounding, 0);
    EXPECT_FALSE(c->CommonDatas().ReconnectLostDevice);
}

TEST_F(SettingsOnDisk, FileLongerThanOneReadBlockIsReadWhole) {
    // Blanks around a value are allowed; here they push the lines across many blocks.
    auto c = NewController();
    TErrorSettings values;
    values.AutoRecovery = false;
    values.StopOnDataError = 2;
    values.ReplyTimeout = 1234;
    Lines lines = TErrorSettingsFile::Lines(values);
    for (auto& line : lines)
        line = std::string(700, ' ') + line;
    SaveLines(dir_.File("Data/erp.dat"), lines, true);
    c->SettingsFiles().LoadErrorSettings();
    EXPECT_TRUE(views_.messageBox.shown.empty());
    EXPECT_EQ(TErrorSettingsFile::Lines(TErrorSettings::Of(c->CommonDatas())),
              TErrorSettingsFile::Lines(values));
}

TEST_F(SettingsOnDisk, ClosingWritesWhatIsSwitchedOnAndReadsBack) {
    auto c = NewController();
    TCommonDatas& d = c->CommonDatas();
    d.SaveWorkLog = true;
    d.SavePortLog = true;
    d.ReplyTimeout = 1234;
    d.AutoAddBG = false;
    d.ReconnectLostDevice = false;
    c->Port().SetPortNumber(9);
    c->lbBufRead().AppendReplies("LD1*E10*");
    c->SettingsFiles().SaveAllOnClose({"first", "\xd0\x9f"}); // Cyrillic Pe
    EXPECT_TRUE(views_.messageBox.shown.empty());
    EXPECT_EQ(dir_.Read("Log/work.log"), "first\r\n\xcf\r\n");
    EXPECT_EQ(dir_.Read("Log/port.log"), "LD1*\r\nE10*\r\n\r\n");
    EXPECT_EQ(LoadLines(dir_.File("Data/portp.dat"), true), Lines{"9"});

    auto again = NewController();
    again->SettingsFiles().LoadProgramSettings();
    again->SettingsFiles().LoadErrorSettings();
    again->PortConnection().LoadPortSettings();
    EXPECT_TRUE(views_.messageBox.shown.empty());
    EXPECT_EQ(again->CommonDatas().ReplyTimeout, 1234);
    EXPECT_FALSE(again->CommonDatas().AutoAddBG);
    EXPECT_FALSE(again->CommonDatas().ReconnectLostDevice);
    EXPECT_TRUE(again->CommonDatas().SaveWorkLog);
    EXPECT_EQ(again->Port().PortNumber(), 9u);
}

TEST_F(SettingsOnDisk, FilesThatCannotBeWrittenAreReportedOnceAndTheRestWritten) {
    struct Row {
        const char* name;
        std::function<void()> spoil;
        Lines unwritten;
        Lines written;
    };
    const auto readOnly = [&](const std::string& file) {
        SaveLines(dir_.File(file), {"old"}, true);
        std::filesystem::permissions(dir_.File(file), std::filesystem::perms::owner_read);
    };
    const Row rows[] = {
        {"no Log folder",
         [&] { std::filesystem::remove_all(dir_.Path() / "Log"); },
         {"Log/work.log"},
         {"Data/portp.dat", "Data/prp.dat", "Data/erp.dat"}},
        {"read-only program settings",
         [&] { readOnly("Data/prp.dat"); },
         {"Data/prp.dat"},
         {"Log/work.log", "Data/portp.dat", "Data/erp.dat"}},
        {"no Data folder",
         [&] { std::filesystem::remove_all(dir_.Path() / "Data"); },
         {"Data/portp.dat", "Data/prp.dat", "Data/erp.dat"},
         {"Log/work.log"}},
    };
    for (const Row& row : rows) {
        auto c = NewController();
        c->CommonDatas().SaveWorkLog = true;
        c->Port().SetPortNumber(2);
        row.spoil();
        c->SettingsFiles().SaveAllOnClose({"line"});
        ASSERT_EQ(views_.messageBox.shown.size(), 1u) << row.name;
        const std::string& box = views_.messageBox.shown[0];
        EXPECT_EQ(box.rfind(c->Lang().Message(msgFilesNotSaved), 0), 0u) << box;
        for (const auto& file : row.unwritten)
            EXPECT_NE(box.find(dir_.File(file)), std::string::npos) << row.name << ": " << box;
        for (const auto& file : row.written) {
            EXPECT_EQ(box.find(dir_.File(file)), std::string::npos) << row.name << ": " << box;
            EXPECT_TRUE(std::filesystem::exists(dir_.File(file))) << row.name << " " << file;
        }
        if (std::string(row.name) == "read-only program settings") {
            EXPECT_EQ(LoadLines(dir_.File("Data/prp.dat"), true), Lines{"old"});
        }
        // No temporary file is left behind.
        for (const auto& file : row.written)
            EXPECT_FALSE(std::filesystem::exists(dir_.File(file) + ".new"));
        std::filesystem::create_directories(dir_.Path() / "Data");
        std::filesystem::create_directories(dir_.Path() / "Log");
        // Windows deletes no read-only file.
        std::error_code ec;
        std::filesystem::permissions(dir_.File("Data/prp.dat"), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove(dir_.File("Data/prp.dat"));
    }
}

TEST_F(SettingsOnDisk, RecoveryOnAClosedPortReportsAFailure) {
    auto c = NewController();
    c->CommonDatas().RecoveryClearBuffers = false;
    c->Recovery().RunRecovery();
    ASSERT_EQ(views_.log.Texts(), Lines{c->Lang().Message(msgRecoveryWriteFailed)});
    EXPECT_TRUE(views_.log.Red(0));
}

} // namespace
} // namespace zav
