// zavctl against the controller simulator: each case runs the companion's whole command
// line in a scratch program folder whose Data/ names COM 1, the simulator's link.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ctl_session.h"
#include "fakes.h"
#include "program-editing/command_files.h"
#include "settings/error_settings_file.h"
#include "settings/program_settings_file.h"
#include "state/paths.h"
#include "state/text_file.h"
#include "zavsim.h"

using namespace zavctl;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using zav::test::TempFolder;

namespace {

class Zavctl : public ::testing::Test {
protected:
    Zavctl() {
        std::filesystem::copy(ZAV_SOURCE_DIR "/lang", folder.Path() / "lang",
                              std::filesystem::copy_options::recursive);
        zav::SetAppDir(folder.Path().string());
        zav::SetDataDir(folder.Path().string());
        std::filesystem::create_directories(folder.Path() / "Data");
        zav::SaveLines(folder.File("Data/portp.dat"), {"1"}, true);
        WriteReplyTimeout(2000);
    }
    ~Zavctl() override { zav::SetDataDir(""); }

    void WriteReplyTimeout(int ms) {
        zav::TErrorSettings settings;
        settings.ReplyTimeout = ms;
        zav::SaveLines(folder.File("Data/erp.dat"), zav::TErrorSettingsFile::Lines(settings), true);
    }
    void StartSim(zavsim::TSimOptions options = {}) {
        options.Port = 1;
        options.PortsDir = folder.File("ports");
        options.TimeScale = 0;
        sim.reset();
        sim = std::make_unique<zavsim::TSimulator>(options);
        sim->Start();
    }
    std::string WriteProgram(const std::string& name, const std::vector<std::string>& lines) {
        std::vector<zav::TCommandRow> rows;
        for (const auto& line : lines)
            rows.push_back({line, "about " + line});
        zav::SaveCommandFiles(folder.File(name), rows);
        return folder.File(name);
    }
    int Run(std::vector<std::string> args, bool progress = false) {
        out.str("");
        err.str("");
        TCtlIo io{out, err, progress};
        return CtlMain(args, io);
    }

    TempFolder folder;
    std::unique_ptr<zavsim::TSimulator> sim;
    std::ostringstream out, err;
};

TEST_F(Zavctl, SendAndReadRoundTripAProgram) {
    StartSim();
    const std::vector<std::string> body = {"SD200", "MV1000", "AL-100", "MV250", "DL"};
    std::vector<std::string> recording = {"LD1"};
    recording.insert(recording.end(), body.begin(), body.end());
    recording.push_back("ED");
    const std::string file = WriteProgram("prog.zav", recording);

    ASSERT_EQ(Run({"send", file}, true), exOk) << err.str();
    EXPECT_THAT(sim->Requests(), ElementsAreArray(recording));
    EXPECT_THAT(err.str(), HasSubstr("line 7 of 7\n")); // the last progress line, closed

    ASSERT_EQ(Run({"read", "-o", folder.File("back.zav")}), exOk) << err.str();
    EXPECT_EQ(sim->Requests().back(), "RD1");
    const auto rows = zav::LoadCommandFiles(folder.File("back.zav"));
    std::vector<std::string> read;
    for (const auto& row : rows)
        read.push_back(row.Command);
    EXPECT_EQ(read, body);

    // Without -o the commands are printed, one a line; the buffer is read with RB.
    ASSERT_EQ(Run({"read"}), exOk) << err.str();
    EXPECT_EQ(out.str(), "SD200\nMV1000\nAL-100\nMV250\nDL\n");
    ASSERT_EQ(Run({"read", "--buffer"}), exOk) << err.str();
    EXPECT_EQ(sim->Requests().back(), "RB");
    EXPECT_EQ(out.str(), "");
    // Another coordinate's program, empty here, is read with its own RD.
    ASSERT_EQ(Run({"read", "--coordinate", "2"}), exOk) << err.str();
    EXPECT_EQ(sim->Requests().back(), "RD2");
    EXPECT_EQ(out.str(), "");
}

TEST_F(Zavctl, SendLinePrintsTheReplyAndSpeaksTheLanguageOfTheSettings) {
    StartSim();
    ASSERT_EQ(Run({"send-line", "MV1000"}), exOk) << err.str();
    EXPECT_EQ(out.str(), "E10*\n");
    EXPECT_THAT(sim->Requests(), ElementsAre("MV1000"));

    // An error reply is printed too, and the log's message is in the stored language.
    zav::TCommonDatas datas;
    datas.Language = "ru";
    zav::TProgramSettingsFile(datas, nullptr).SaveProgramSettings();
    EXPECT_EQ(Run({"send-line", "XX"}), exControllerError);
    EXPECT_EQ(out.str(), "E16*\n");
    EXPECT_THAT(err.str(), HasSubstr("Ошибка - неверная команда!"));
}

// Every way a run can fail, with its exit status, what it says, and what reaches the
// controller.
TEST_F(Zavctl, ExitStatuses) {
    const std::string good = WriteProgram("good.zav", {"SD200", "MV100"});
    const std::string wrong = WriteProgram("wrong.zav", {"SD200", "XX5", "MV100"});
    folder.Write("lone.zav", "");
    struct Row {
        const char* name;
        std::optional<std::uint64_t> silentAfter;
        std::vector<std::string> args;
        int status;
        std::string says;
        std::size_t requests;
    };
    const std::string missing = folder.File("missing.zav");
    const std::string noDevice = folder.File("no-such-device");
    const std::vector<Row> rows = {
        {"device path", {}, {"--device", "SLAVE", "send-line", "BG"}, exOk, "", 1},
        {"silent controller", 0, {"send-line", "BG"}, exControllerError, "No reply", 1},
        {"silent during a send", 1, {"send", good}, exControllerError, "No reply", 2},
        {"silent during a read",
         0,
         {"read", "-o", folder.File("r.zav")},
         exControllerError,
         "No reply",
         1},
        {"wrong command in the file", {}, {"send", wrong}, exUsage, "line 2: XX5", 0},
        {"missing file", {}, {"send", missing}, exUsage, "missing.zav not found", 0},
        {"file without descriptions",
         {},
         {"send", folder.File("lone.zav")},
         exUsage,
         "lone._zav not found",
         0},
        {"not a command file",
         {},
         {"send", folder.File("x.txt")},
         exUsage,
         "File name is incorrect",
         0},
        {"read into a wrong name",
         {},
         {"read", "-o", folder.File("r.txt")},
         exUsage,
         "File name is incorrect",
         0},
        {"no such device",
         {},
         {"--device", noDevice, "send-line", "BG"},
         exPortNotOpened,
         "Error opening port: there is no such device (" + noDevice + ")",
         0},
        {"both --port and --device",
         {},
         {"--port", "9", "--device", "x", "ports"},
         exUsage,
         "either --port or --device",
         0},
        {"no command", {}, {"--port", "1"}, exUsage, "no command given", 0},
        {"unknown command", {}, {"write"}, exUsage, "unknown command", 0},
        {"port out of range", {}, {"--port", "256", "send-line", "BG"}, exUsage, "1 to 255", 0},
        {"option of another command",
         {},
         {"send-line", "BG", "--buffer"},
         exUsage,
         "belong to the read",
         0},
        {"missing argument", {}, {"send"}, exUsage, "takes one argument", 0},
        {"coordinate out of range", {}, {"read", "--coordinate", "4"}, exUsage, "1, 2 or 3", 0},
        {"coordinate and buffer",
         {},
         {"read", "--coordinate", "2", "--buffer"},
         exUsage,
         "either --buffer or --coordinate",
         0},
    };
    WriteReplyTimeout(300);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        zavsim::TSimOptions options;
        options.SilentAfter = row.silentAfter;
        StartSim(options);
        std::vector<std::string> args = row.args;
        for (auto& arg : args)
            if (arg == "SLAVE")
                arg = sim->SlavePath();
        EXPECT_EQ(Run(args), row.status) << err.str();
        EXPECT_THAT(err.str(), HasSubstr(row.says));
        EXPECT_EQ(sim->Requests().size(), row.requests);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("r.zav")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("r._zav")));
}

} // namespace
