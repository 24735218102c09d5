#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "fakes.h"
#include "state/encoded_stream.h"
#include "state/text_file.h"

using namespace zav;
using zav::test::TempFolder;

namespace {
std::string AllBytes() {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    return all;
}

void WriteStream(const std::string& file, const std::string& bytes, bool encode) {
    TEncodedStream out(file, encode, TFileMode::Create);
    EXPECT_EQ(out.Write(bytes.data(), bytes.size()), bytes.size());
}

std::string ReadInBlocks(const std::string& file, bool encode, std::size_t block) {
    TEncodedStream in(file, encode, TFileMode::OpenRead);
    std::string got, buf(block, '\0');
    for (std::size_t n; (n = in.Read(buf.data(), block)) > 0;)
        got.append(buf, 0, n);
    return got;
}
} // namespace

TEST(EncodedStream, RoundTripAtAnyBlockSizeAndEveryByteWraps) {
    TempFolder dir;
    const std::string file = dir.File("data.bin");
    const std::string bytes = AllBytes() + AllBytes() + "tail";
    WriteStream(file, bytes, true);
    for (std::size_t block : {1u, 2u, 3u, 7u, 255u, 256u, 4096u})
        EXPECT_EQ(ReadInBlocks(file, true, block), bytes) << "block " << block;

    // On disk every byte is shifted by the key, wrapping past 255.
    const std::string stored = dir.Read("data.bin");
    ASSERT_EQ(stored.size(), bytes.size());
    const auto k = TEncodedStream::Key();
    ASSERT_NE(k, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(static_cast<std::uint8_t>(stored[i]),
                  static_cast<std::uint8_t>(static_cast<std::uint8_t>(bytes[i]) + k));
}

TEST(EncodedStream, MismatchedEncodingSeesShiftedBytes) {
    TempFolder dir;
    const auto k = TEncodedStream::Key();
    WriteStream(dir.File("enc.bin"), std::string("\xF0") + "A", true);
    const std::string shifted{static_cast<char>(0xF0 + k), static_cast<char>('A' + k)};
    EXPECT_EQ(ReadInBlocks(dir.File("enc.bin"), false, 16), shifted);
    dir.Write("plain.bin", "A");
    EXPECT_EQ(ReadInBlocks(dir.File("plain.bin"), true, 16),
              std::string(1, static_cast<char>('A' - k)));
}

TEST(EncodedStream, EmptyFileShortReadsSeekAndMissingFile) {
    TempFolder dir;
    WriteStream(dir.File("empty.bin"), "", true);
    char buf[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    {
        TEncodedStream in(dir.File("empty.bin"), true, TFileMode::OpenRead);
        EXPECT_EQ(in.Size(), 0);
        EXPECT_EQ(in.Read(buf, sizeof buf), 0u);
    }
    WriteStream(dir.File("abc.bin"), "abc", true);
    TEncodedStream in(dir.File("abc.bin"), true, TFileMode::OpenRead);
    EXPECT_EQ(in.Size(), 3);
    EXPECT_EQ(in.Seek(1, TEncodedStream::soBeginning), 1);
    ASSERT_EQ(in.Read(buf, sizeof buf), 2u);
    EXPECT_EQ(std::string(buf, 2), "bc");
    EXPECT_EQ(buf[2], 3) << "bytes beyond the short read are untouched";
    EXPECT_EQ(in.Read(buf, sizeof buf), 0u);

    EXPECT_THROW(TEncodedStream(dir.File("none.bin"), true, TFileMode::OpenRead), EFileStreamError);
    EXPECT_THROW(TEncodedStream(dir.File("no/such/dir.bin"), true, TFileMode::Create),
                 EFileStreamError);
}

TEST(TextFile, SplitLinesOnEveryLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two line ends
        {"\r\n", {""}},
        {"a\r\r\n", {"a", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
    const auto cut = SplitLines(std::string(5000, 'x') + "\r\nnext");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], std::string(MaxLineLength, 'x'));
    EXPECT_EQ(cut[1], "next");
}

TEST(TextFile, SaveAndLoadThroughTheCodePage) {
    TempFolder dir;
    const std::vector<std::string> lines = {"-1", "", "\xD0\x9E\xD0\x9A", "Step"};
    SaveLines(dir.File("prp.dat"), lines, true);
    EXPECT_EQ(LoadLines(dir.File("prp.dat"), true), lines);
    SaveLines(dir.File("work.log"), lines, false);
    EXPECT_EQ(dir.Read("work.log"), "-1\r\n\r\n\xCE\xCA\r\nStep\r\n");
    EXPECT_THROW(LoadLines(dir.File("missing.dat"), true), EFileStreamError);
}

TEST(TextFile, FailedSaveKeepsTheOldFile) {
    TempFolder dir;
    SaveLines(dir.File("erp.dat"), {"old"}, true);
    const std::string old = dir.Read("erp.dat");

    // Missing folder.
    EXPECT_THROW(SaveLines(dir.File("Data/erp.dat"), {"x"}, true), EFileStreamError);

    // The write itself fails part-way: the file size limit stops it.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::vector<std::string> big(1000, std::string(100, 'n'));
    EXPECT_THROW(SaveLines(dir.File("erp.dat"), big, true), EFileStreamError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(dir.Read("erp.dat"), old);
    EXPECT_FALSE(std::filesystem::exists(dir.File("erp.dat.new")));

    // A read-only folder (root ignores the permission).
    if (geteuid() != 0) {
        std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        EXPECT_THROW(SaveLines(dir.File("erp.dat"), {"x"}, true), EFileStreamError);
        std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    EXPECT_EQ(dir.Read("erp.dat"), old);
    EXPECT_EQ(LoadLines(dir.File("erp.dat"), true), std::vector<std::string>{"old"});
}
