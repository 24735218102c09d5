// zavctl check against command files in a scratch program folder: no controller is
// needed, and the exit status tells a script whether the list has warnings (1), none
// (0), or is no list at all (2).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ctl_session.h"
#include "fakes.h"
#include "localisation/lang.h"
#include "program-editing/command_files.h"
#include "state/paths.h"

using namespace zavctl;
using zav::test::TempFolder;

namespace {

TEST(ZavctlCheck, ExitStatusAndReportByFile) {
    TempFolder folder;
    zav::SetAppDir(folder.Path().string());
    zav::SetDataDir(folder.Path().string());
    const auto list = [&](const std::string& name, const std::vector<std::string>& lines) {
        std::vector<zav::TCommandRow> rows;
        for (const auto& line : lines)
            rows.push_back({line, line});
        zav::SaveCommandFiles(folder.File(name), rows);
        return folder.File(name);
    };
    const std::string zeros = folder.File("zeros.zav");
    std::ofstream(zeros, std::ios::binary) << std::string(4096, '\0');
    std::filesystem::create_directories(folder.File("folder.zav"));

    // The messages as the built-in catalogue has them (no language files here).
    zav::TCommonDatas datas;
    const zav::TLang lang(datas, nullptr, nullptr);
    const auto say = [&](int message) { return lang.Message(message); };
    const std::string line = say(zav::msgCtlLine);
    // The motion model's estimate follows the warnings: MV1000 at SD200 takes 5.0 s.
    const auto reaches = [&](const std::string& steps, const std::string& seconds) {
        return std::vector<std::string>{
            say(zav::msgPreviewCoordinate) + "1: " + steps + " " + say(zav::msgPreviewSteps) +
                ", " + seconds + say(zav::msgPreviewSeconds),
            say(zav::msgPreviewList) + ": " + seconds + say(zav::msgPreviewSeconds)};
    };
    const auto then = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* name;
        std::string file;
        int status;
        std::vector<std::string> out; // stdout, line by line
        std::string err;              // a part of stderr
    } rows[] = {
        {"clean", list("clean.zav", {"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV1000", "ED"}),
         exOk, then({"0" + say(zav::msgCheckWarningsMany)}, reaches("1000", "5.0")), ""},
        {"warned",
         list("warned.zav", {"LD1", "MV1000", "ED", "HM"}),
         exWarnings,
         {line + "2 (MV1000): " + say(zav::msgCheckMoveBeforeSd),
          line + "4 (HM): " + say(zav::msgCheckDirectMotion),
          line + "4 (HM): " + say(zav::msgCheckMachineWait), "3" + say(zav::msgCheckWarningsFew),
          reaches("1000", "5.0")[0], reaches("1000", "5.0")[1]},
         ""},
        {"recording that never ends", list("open.zav", {"LD1", "SD5", "MV5"}), exWarnings,
         then({line + "1 (LD1): " + say(zav::msgCheckLdWithoutEd),
               "1" + say(zav::msgCheckWarningOne)},
              reaches("5", "1.0")),
         ""},
        {"empty list",
         list("empty.zav", {}),
         exOk,
         {"0" + say(zav::msgCheckWarningsMany), say(zav::msgPreviewNothing)},
         ""},
        {"unknown command", list("unknown.zav", {"SD200", "XY5"}), exUsage, {}, line + "2: XY5"},
        {"file of zeros", zeros, exUsage, {}, line + "1: "},
        {"missing", folder.File("missing.zav"), exUsage, {}, "missing.zav"},
        {"a folder", folder.File("folder.zav"), exUsage, {}, "folder.zav"},
        {"not a command file", folder.File("clean._zav"), exUsage, {}, "clean._zav"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::ostringstream out, err;
        TCtlIo io{out, err, false};
        EXPECT_EQ(CtlMain({"check", row.file}, io), row.status);
        std::vector<std::string> printed;
        std::istringstream lines(out.str());
        for (std::string l; std::getline(lines, l);)
            printed.push_back(l);
        EXPECT_EQ(printed, row.out);
        EXPECT_THAT(err.str(), testing::HasSubstr(row.err));
    }
    std::ostringstream out, err;
    TCtlIo io{out, err, false};
    EXPECT_EQ(CtlMain({"--port", "1", "check", folder.File("clean.zav")}, io), exUsage);

    // --svg writes the preview whole, or says it could not and leaves nothing behind.
    const std::string svg = folder.File("clean.svg");
    EXPECT_EQ(CtlMain({"check", "--svg", svg, folder.File("clean.zav")}, io), exOk);
    std::ostringstream picture;
    picture << std::ifstream(svg).rdbuf();
    EXPECT_THAT(picture.str(), testing::HasSubstr("<svg "));
    EXPECT_THAT(picture.str(), testing::HasSubstr(reaches("1000", "5.0")[0]));
    const std::string nowhere = folder.File("no-such-folder/clean.svg");
    EXPECT_EQ(CtlMain({"check", "--svg", nowhere, folder.File("clean.zav")}, io), exUsage);
    EXPECT_FALSE(std::filesystem::exists(folder.File("no-such-folder")));
    EXPECT_EQ(CtlMain({"send", "--svg", svg, folder.File("clean.zav")}, io), exUsage);
    zav::SetDataDir("");
}

} // namespace
