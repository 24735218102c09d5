#include <gtest/gtest.h>

#include "fakes.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

// An installed program cannot write beside itself: its files go to the user's folder,
// with the shipped defaults copied once and the operator's own files kept.
TEST(DataDir, UserFolderWhenTheProgramsFolderCannotBeWritten) {
    TempFolder dir;
    const std::string app = dir.File("app"), user = dir.File("user");
    dir.Write("app/Data/portp.dat", "shipped");
    dir.Write("app/Data/prp.dat", "shipped");
    dir.Write("user/Data/prp.dat", "changed by the operator");

    auto writable = [&](const std::string& folder) { return folder.rfind(app, 0) != 0; };
    EXPECT_EQ(PrepareDataDir(app, user, [](const std::string&) { return true; }), app);
    EXPECT_EQ(PrepareDataDir(app, user, writable), user + "/");
    EXPECT_EQ(dir.Read("user/Data/portp.dat"), "shipped");
    EXPECT_EQ(dir.Read("user/Data/prp.dat"), "changed by the operator");
    for (const char* folder : {"Log", "Users", "ports"})
        EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "user" / folder)) << folder;
    EXPECT_EQ(PrepareDataDir(app, "", [](const std::string&) { return false; }), "");
    EXPECT_TRUE(CanWriteFolder(user));
    EXPECT_FALSE(CanWriteFolder(dir.File("missing")));
}
