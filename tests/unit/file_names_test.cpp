// File names with letters outside the ANSI code page (Cyrillic on an English Windows):
// the settings, list and probe files of a data folder named in Russian are written,
// found and read back under exactly that name.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "controller/controller.h"
#include "fakes.h"
#include "program-editing/command_files.h"
#include "state/file_names.h"
#include "state/paths.h"
#include "state/text_file.h"

using namespace zav;

TEST(FileNames, ADataFolderWithCyrillicLetters) {
    test::TempFolder folder;
    const std::string name = "Данные";
    const std::string dir = Utf8Path(folder.Path()) + "/" + name;
    std::filesystem::create_directories(FsPath(dir + "/Data"));
    EXPECT_TRUE(CanWriteFolder(dir));

    const std::string settings = dir + "/Data/prp.dat";
    const std::vector<std::string> lines = {"-1", "0", "Шаг"};
    SaveLines(settings, lines, true);
    EXPECT_EQ(LoadLines(settings, true), lines);
    SaveLines(settings, {"-1"}, true); // replaced through its temporary file
    EXPECT_EQ(LoadLines(settings, true), std::vector<std::string>{"-1"});

    const std::string list = dir + "/Программа.zav";
    SaveCommandFiles(list, {{"MV100", "вперёд"}, {"ED", ""}});
    const auto rows = LoadCommandFiles(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Description, "вперёд");

    // What is on disk carries the names as given, and nothing else is left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(dir)))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Data", "Программа._zav", "Программа.zav"}));

    // The program's Open finds the pair under that name too, with its files in the same
    // folder.
    SetAppDir(dir);
    TQueueDispatcher dispatcher;
    test::RecordingViews views;
    TController controller(dispatcher, views.Views());
    views.messageBox.shown.clear(); // the folder has no language files: not this test's
    EXPECT_TRUE(controller.Files().LoadFromFile(list));
    EXPECT_EQ(controller.MemoSend().Lines(), (std::vector<std::string>{"MV100", "ED"}));
    EXPECT_TRUE(views.messageBox.shown.empty());

    // A user data folder in Russian gets the shipped files.
    const std::string user = Utf8Path(folder.Path()) + "/Пользователь";
    const std::string chosen =
        PrepareDataDir(dir, user, [&](const std::string& d) { return d != dir; });
    EXPECT_EQ(chosen.substr(0, user.size()), user);
    EXPECT_EQ(LoadLines(chosen + "Data/prp.dat", true), std::vector<std::string>{"-1"});
}
