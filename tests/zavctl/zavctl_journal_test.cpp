// zavctl's sends leave journals in the program folder's Log/, as the program's do, naming
// the command file only when the list sent is what it holds.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "ctl_session.h"
#include "fakes.h"
#include "journal/journal.h"
#include "program-editing/command_files.h"
#include "settings/error_settings_file.h"
#include "state/paths.h"
#include "state/text_file.h"
#include "zavsim.h"

using namespace zavctl;
using ::testing::ElementsAre;

namespace {

TEST(ZavctlJournal, SendsAreJournalledInTheProgramsLogFolder) {
    zav::test::TempFolder folder;
    std::filesystem::copy(ZAV_SOURCE_DIR "/lang", folder.Path() / "lang",
                          std::filesystem::copy_options::recursive);
    zav::SetAppDir(folder.Path().string());
    zav::SetDataDir(folder.Path().string());
    std::filesystem::create_directories(folder.Path() / "Data");
    zav::SaveLines(folder.File("Data/portp.dat"), {"1"}, true);
    zav::SaveLines(folder.File("Data/erp.dat"),
                   zav::TErrorSettingsFile::Lines(zav::TErrorSettings{}), true);
    zavsim::TSimOptions options;
    options.Port = 1;
    options.PortsDir = folder.File("ports");
    options.TimeScale = 0;
    zavsim::TSimulator sim(options);
    sim.Start();
    const std::string file = folder.File("prog.zav");
    zav::SaveCommandFiles(file, {{"LD1", ""}, {"MV100", ""}, {"ED", ""}});

    std::ostringstream out, err;
    TCtlIo io{out, err, false};
    ASSERT_EQ(CtlMain({"send", file}, io), exOk) << err.str();
    ASSERT_EQ(CtlMain({"send-line", "MV200"}, io), exOk) << err.str();
    zav::SetDataDir("");

    const auto journals = zav::JournalFiles(folder.Path() / "Log");
    ASSERT_EQ(journals.size(), 2u);
    struct Expected {
        std::string listFile;
        std::vector<std::string> lines;
    } expected[] = {{file, {"LD1", "MV100", "ED"}}, {"", {"MV200"}}};
    for (std::size_t k = 0; k < journals.size(); ++k) {
        zav::TJournalProblem problem;
        const auto journal = zav::ReadJournal(journals[k], problem);
        ASSERT_TRUE(journal) << problem.Message;
        EXPECT_EQ(journal->ListFile, expected[k].listFile);
        EXPECT_EQ(journal->Lines, expected[k].lines);
        EXPECT_EQ(journal->Entries.size(), expected[k].lines.size());
        EXPECT_EQ(journal->End, zav::TJournalEnd::Completed);
    }
}

} // namespace
