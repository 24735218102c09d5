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

// The program finds lang/ and the shipped Data/ beside its executable (the build folder)
// or in ../share/zav (a package); an installed program's folder is never written, even
// by root, who can.
TEST(DataDir, ProgramFolderBesideTheExecutableOrInstalled) {
    TempFolder dir;
    dir.Write("build/bin/lang/lang.lng", "en");
    dir.Write("usr/bin/zav", "");
    dir.Write("usr/share/zav/lang/lang.lng", "en");
    dir.Write("usr/share/zav/Data/portp.dat", "shipped");
    dir.Write("bare/bin/zav", "");
    dir.Write("bare/share/zav/Data/portp.dat", "no lang/ beside it");
    const struct {
        std::string exeDir, programDir;
    } rows[] = {
        {dir.File("build/bin"), dir.File("build/bin") + "/"},
        {dir.File("usr/bin"), dir.File("usr/share/zav") + "/"},
        {dir.File("usr/bin") + "/", dir.File("usr/share/zav") + "/"},
        {dir.File("bare/bin"), dir.File("bare/bin") + "/"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ProgramDirOf(row.exeDir), row.programDir) << row.exeDir;

    const std::string user = dir.File("home/.local/share/zav");
    EXPECT_EQ(PrepareDataDirOf(dir.File("build/bin"), user), dir.File("build/bin") + "/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "build/bin/Log"));
    EXPECT_EQ(PrepareDataDirOf(dir.File("usr/bin"), user), user + "/");
    EXPECT_EQ(dir.Read("home/.local/share/zav/Data/portp.dat"), "shipped");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "usr/share/zav/Log"));
}
