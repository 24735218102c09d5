#include <gtest/gtest.h>

#include "fakes.h"
#include "state/session_file.h"

using namespace zav;
using namespace zav::test;

namespace {
using TNames = std::vector<std::string>;

TNames Numbered(int from, int to) {
    TNames names;
    const int step = from <= to ? 1 : -1;
    for (int k = from; k != to + step; k += step)
        names.push_back("/w/f" + std::to_string(k) + ".zav");
    return names;
}
} // namespace

TEST(RecentFiles, MostRecentFirstWithoutRepeatsUpToCapacity) {
    struct TRow {
        const char* Case;
        TNames Added, Removed, Expected;
    };
    const TRow rows[] = {
        {"most recent first", {"/w/a.zav", "/w/b.zav"}, {}, {"/w/b.zav", "/w/a.zav"}},
        {"a file again moves up",
         {"/w/a.zav", "/w/b.zav", "/w/a.zav"},
         {},
         {"/w/a.zav", "/w/b.zav"}},
        {"another spelling of the same file",
         {"/w/a.zav", "/w/x/../a.zav", "/w/./b.zav"},
         {},
         {"/w/b.zav", "/w/a.zav"}},
        {"the oldest fall off", Numbered(1, 10), {}, Numbered(10, 3)},
        {"removed by another spelling", {"/w/a.zav", "/w/b.zav"}, {"/w/x/../a.zav"}, {"/w/b.zav"}},
        {"names a line cannot hold", {"", "/w/a\n.zav", "/w/b\r.zav"}, {}, {}},
    };
    for (const TRow& row : rows) {
        TRecentFiles recent;
        for (const auto& name : row.Added)
            recent.Add(name);
        for (const auto& name : row.Removed)
            recent.Remove(name);
        EXPECT_EQ(recent.Files(), row.Expected) << row.Case;
    }
    // A stored list, most recent first, under the same rules.
    TRecentFiles stored;
    TNames list = Numbered(12, 1);
    list.insert(list.begin() + 1, "/w/f12.zav");
    stored.Assign(list);
    EXPECT_EQ(stored.Files(), Numbered(12, 5));
}

TEST(SessionFile, RoundTripAndDamagedFilesGiveDefaults) {
    TempFolder dir;
    TSessionFile written(dir.File("Data/session.dat"));
    written.Window = TWindowPlacement{{-1800, 40, 900, 640}, true};
    written.Recent.Add("/w/a b&c.zav");
    written.Recent.Add("/w/Программа.zav");
    written.Save();
    TSessionFile read(written.FileName());
    read.Load();
    EXPECT_EQ(read.Window, written.Window);
    EXPECT_EQ(read.Recent.Files(), written.Recent.Files());

    struct TRow {
        const char* Case;
        std::string Bytes;
        bool HasWindow;
        TNames Recent;
    };
    const TRow rows[] = {
        {"a later program's keys are skipped",
         "zav session 1\r\nzoom 2\r\nwindow 1 2 300 400 0\r\nrecent /w/a.zav\r\n",
         true,
         {"/w/a.zav"}},
        {"foreign file", "[General]\nwindow 1 2 300 400 0\nrecent /w/a.zav\n", false, {}},
        {"binary", std::string("\0\xff\x01zav session 1\n", 17), false, {}},
        {"empty", "", false, {}},
        {"window line cut short",
         "zav session 1\nwindow 1 2 300\nrecent /w/a.zav\n",
         false,
         {"/w/a.zav"}},
        {"window of no size", "zav session 1\nwindow 1 2 0 400 0\n", false, {}},
        {"numbers too large", "zav session 1\nwindow 1 2 300 99999999999 0\n", false, {}},
        {"too large to be ours", "zav session 1\n" + std::string(300 * 1024, 'x'), false, {}},
    };
    for (const TRow& row : rows) {
        TSessionFile session(dir.Write("damaged.dat", row.Bytes));
        session.Load();
        EXPECT_EQ(session.Window.has_value(), row.HasWindow) << row.Case;
        EXPECT_EQ(session.Recent.Files(), row.Recent) << row.Case;
    }
    TSessionFile missing(dir.File("missing.dat"));
    missing.Load();
    EXPECT_FALSE(missing.Window || !missing.Recent.Files().empty());
}

TEST(SessionFile, WindowComesBackOnAScreenPresent) {
    const std::vector<TRect> two = {{0, 0, 1920, 1040}, {1920, 0, 1280, 1000}};
    const std::vector<TRect> one = {two[0]};
    struct TRow {
        const char* Case;
        TRect Saved;
        std::vector<TRect> Screens;
        TRect Expected;
    };
    const TRow rows[] = {
        {"on the primary screen", {100, 100, 800, 600}, two, {100, 100, 800, 600}},
        {"second screen gone", {2000, 50, 800, 600}, one, {1120, 50, 800, 600}},
        {"far off every screen", {-5000, -5000, 800, 600}, two, {0, 0, 800, 600}},
        {"mostly on the second screen", {1800, 900, 800, 600}, two, {1920, 400, 800, 600}},
        {"larger than the screen", {-10, -10, 4000, 3000}, one, {0, 0, 1920, 1040}},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(PlaceOnScreens(row.Saved, row.Screens), row.Expected) << row.Case;
}
