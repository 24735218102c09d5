// The controller simulator, driven over its pseudo-terminal by a small raw client.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "remote_protocol.h"
#include "zavsim.h"

namespace {

using namespace std::chrono_literals;
using zavsim::TControllerModel;
using zavsim::TRunState;
using zavsim::TSimOptions;
using zavsim::TSimulator;

constexpr auto Deadline = 5s; // generous: the tests also run under ThreadSanitizer

// The program's end of the line, reduced to what the tests need.
class TLineClient {
public:
    explicit TLineClient(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_ >= 0) {
            termios tio{};
            tcgetattr(fd_, &tio);
            cfmakeraw(&tio);
            tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~TLineClient() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    bool IsOpen() const { return fd_ >= 0; }

    // Writes all of text, reading whatever comes back meanwhile.
    void Send(const std::string& text) {
        std::size_t done = 0;
        const auto end = std::chrono::steady_clock::now() + Deadline;
        while (done < text.size() && std::chrono::steady_clock::now() < end) {
            const ssize_t n = write(fd_, text.data() + done, text.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EAGAIN) {
                break;
            } else {
                pollfd p{fd_, POLLIN | POLLOUT, 0};
                poll(&p, 1, 100);
                ReadAvailable();
            }
        }
    }

    // The next count received bytes, or fewer when the deadline passes first.
    std::string Read(std::size_t count, std::chrono::milliseconds within = Deadline) {
        const auto end = std::chrono::steady_clock::now() + within;
        while (received_.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) > 0 && !ReadAvailable()) {
                break;
            }
        }
        const std::string out = received_.substr(0, count);
        received_.erase(0, out.size());
        return out;
    }

    // Sends request and returns as many bytes as expected has.
    std::string Exchange(const std::string& request, const std::string& expected) {
        Send(request);
        return Read(expected.size());
    }

    // True when the line reports a hang-up within the deadline.
    bool AwaitHangup() {
        const auto end = std::chrono::steady_clock::now() + Deadline;
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                if (p.revents & (POLLHUP | POLLERR)) {
                    return true;
                }
                if (!ReadAvailable()) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    // False on end of file or a read error other than "nothing yet".
    bool ReadAvailable() {
        char block[4096];
        const ssize_t n = read(fd_, block, sizeof block);
        if (n > 0) {
            received_.append(block, static_cast<std::size_t>(n));
            return true;
        }
        return n < 0 && errno == EAGAIN;
    }

    int fd_;
    std::string received_;
};

struct TRunningSim {
    explicit TRunningSim(TSimOptions options = {}) : Sim(options), Line(Sim.SlavePath()) {
        Sim.Start();
    }
    TSimulator Sim;
    TLineClient Line;
};

struct TExchangeCase {
    std::string Request;
    std::string Expected;
};

void ExpectExchanges(TLineClient& line, const std::vector<TExchangeCase>& cases) {
    for (const TExchangeCase& c : cases) {
        SCOPED_TRACE(c.Request);
        EXPECT_EQ(line.Exchange(c.Request, c.Expected), c.Expected);
    }
}

TEST(ZavSimTest, AnswersEveryRequestWithEchoAndCodedReply) {
    TRunningSim s;
    ASSERT_TRUE(s.Line.IsOpen());
    ExpectExchanges(s.Line, {
                                {"BG*", "BG*E10*"},
                                {"ED*", "ED*E10*"}, // ends nothing, still accepted
                                {"MV*", "MV*E10*"}, // permanent motion takes no value
                                {"AL+500*", "AL+500*E10*"},
                                {"SS0*", "SS0*E10*"},
                                {"PS3*", "PS3*E30*"}, // the request's own coordinate
                                {"XY*", "XY*E16*"},
                                {"bg*", "bg*E16*"},
                                {"M*", "M*E16*"},
                                {std::string("\0\0*", 3), std::string("\0\0*E16*", 7)},
                                {"SD0*", "SD0*E19*"},
                                {"SD10001*", "SD10001*E19*"},
                                {"AL-1001*", "AL-1001*E19*"},
                                {"MV+5*", "MV+5*E19*"},
                                {"MV12a*", "MV12a*E19*"},
                                {"BG5*", "BG5*E19*"},
                                {"LD*", "LD*E19*"},
                                {"LD4*", "LD4*E19*"},
                                {"\r\n \tEN*", "EN*E10*"}, // stray bytes between requests
                                {std::string(100, 'A') + "*EN*", "E16*EN*E10*"},
                            });
}

TEST(ZavSimTest, SurvivesAMegabyteWithoutTerminatorAndRequestsSplitAtEveryByte) {
    TRunningSim s;
    std::string flood(1 << 20, 'x');
    for (std::size_t i = 0; i < flood.size(); i += 1000) {
        flood[i] = '\0';
    }
    s.Line.Send(flood);
    EXPECT_EQ(s.Line.Read(4), "E16*");
    EXPECT_EQ(s.Line.Exchange("*BG*", "BG*E10*"), "BG*E10*");
    for (char c : std::string("LD2*")) {
        s.Line.Send(std::string(1, c));
    }
    EXPECT_EQ(s.Line.Read(8), "LD2*E20*");
}

TEST(ZavSimTest, RecordsProgramsAndReadsThemBack) {
    TRunningSim s;
    ExpectExchanges(s.Line, {
                                {"LD2*", "LD2*E20*"},
                                {"SD200*", "SD200*E20*"}, // the recorded coordinate's digit
                                {"AL-50*", "AL-50*E20*"},
                                {"AL+7*", "AL+7*E20*"},
                                {"XY*", "XY*E26*"}, // refused commands are not stored
                                {"SD0*", "SD0*E29*"},
                                {"MV1000*", "MV1000*E20*"},
                                {"ED*", "ED*E20*"},
                                {"RD2*", "RD2*E20*SD200*AL32818*AL7*MV1000*ED*"},
                                {"RD1*", "RD1*E10*ED*"},
                                {"RB*", "RB*E10*ED*"},
                                {"LB*", "LB*E10*"},
                                {"MV5*", "MV5*E10*"},
                                {"SD7*", "SD7*E10*"},
                                {"ED*", "ED*E10*"},
                                {"RB*", "RB*E10*MV5*SD7*ED*"},
                                {"LD2*", "LD2*E20*"}, // a new recording replaces the old
                                {"ED*", "ED*E20*"},
                                {"RD2*", "RD2*E20*ED*"},
                            });
}

TEST(ZavSimTest, RunsProgramsWithLoopsAndReportsCompletion) {
    TSimOptions options;
    options.TimeScale = 0.01;
    TRunningSim s(options);
    // 500 steps at 1000 steps/s: 5 ms at this time scale.
    for (const char* r : {"LD1*", "SD1000*", "MV500*", "ED*"}) {
        s.Line.Exchange(r, std::string(r) + "E10*");
    }
    EXPECT_EQ(s.Line.Exchange("ST1*", "ST1*E10*"), "ST1*E10*");
    EXPECT_EQ(s.Line.Read(4), "E14*");
    EXPECT_EQ(s.Sim.Position(1), 500);

    // MV5 three times, then backwards MV100 twice through the buffer.
    for (const char* r :
         {"LD3*", "SD10000*", "LL*", "MV5*", "JP2*", "DR*", "LB*", "MV100*", "SB1*", "ED*"}) {
        s.Line.Exchange(r, std::string(r) + "E30*");
    }
    EXPECT_EQ(s.Line.Exchange("ST3*", "ST3*E30*E34*"), "ST3*E30*E34*");
    EXPECT_EQ(s.Sim.Position(3), 15 - 200);
    EXPECT_EQ(s.Line.Exchange("RB*", "RB*E10*MV100*ED*"), "RB*E10*MV100*ED*");
}

TEST(ZavSimTest, PausesResumesAndStopsARunningProgram) {
    TRunningSim s;
    for (const char* r : {"LD1*", "MV*", "ED*"}) { // permanent motion: runs until stopped
        s.Line.Exchange(r, std::string(r) + "E10*");
    }
    ExpectExchanges(s.Line, {{"ST1*", "ST1*E10*"}, {"PS1*", "PS1*E12*"}});
    EXPECT_EQ(s.Sim.RunState(1), TRunState::Paused);
    ExpectExchanges(s.Line, {{"PS1*", "PS1*E18*"}, {"ST1*", "ST1*E14*"}});
    EXPECT_EQ(s.Sim.RunState(1), TRunState::Idle);
}

TEST(ZavSimTest, FallsSilentAfterTheGivenNumberOfRequests) {
    TSimOptions options;
    options.SilentAfter = 1;
    TRunningSim s(options);
    EXPECT_EQ(s.Line.Exchange("BG*", "BG*E10*"), "BG*E10*");
    s.Line.Send("EN*");
    ASSERT_TRUE(s.Sim.WaitForRequests(2, Deadline));
    // Absence cannot be awaited: give the line a short, bounded chance to deliver.
    EXPECT_EQ(s.Line.Read(1, 200ms), "");
}

TEST(ZavSimTest, EveryKthRequestGetsOnlyADataTransferErrorAndIsNotActedOn) {
    TSimOptions options;
    options.E5Every = 2;
    TRunningSim s(options);
    ExpectExchanges(s.Line, {
                                {"BG*", "BG*E10*"},
                                {"EN*", "E15*"},
                                {"DL*", "DL*E10*"},
                                {"LD2*", "E25*"},
                                {"MV5*", "MV5*E10*"}, // no recording was started
                            });
    EXPECT_TRUE(s.Sim.Program(2).empty());
}

// Line noise changes a digit so that the command stays valid: the controller echoes, stores
// and carries out what it received.
TEST(ZavSimTest, CorruptedRequestIsEchoedAndActedOnAsReceived) {
    TSimOptions options;
    options.CorruptAt = 2;
    TRunningSim s(options);
    ExpectExchanges(s.Line, {
                                {"LD1*", "LD1*E10*"},
                                {"MV1000*", "MV1900*E10*"},
                                {"MV1000*", "MV1000*E10*"},
                                {"ED*", "ED*E10*"},
                            });
    EXPECT_EQ(s.Sim.Program(1), (std::vector<zavsim::TStoredCommand>{{"MV", 1900}, {"MV", 1000}}));
    const std::pair<const char*, const char*> noisy[] = {
        {"ST1", "ST3"}, {"SD200", "SD290"}, {"SP5", "SP9"}, {"ED", "ED"}, {"LD3", "LD2"}};
    for (const auto& [sent, received] : noisy)
        EXPECT_EQ(TControllerModel::NoisyRequest(sent), received) << sent;
}

TEST(ZavSimTest, SlowSplitAndGarbledRepliesStillCarryTheWholeReply) {
    TSimOptions options;
    options.Baud = 19200;
    options.Split = true;
    TRunningSim slow(options);
    EXPECT_EQ(slow.Line.Exchange("BG*", "BG*E10*"), "BG*E10*");
    EXPECT_GE(slow.Sim.WriteCalls(), 7u);

    TSimOptions garbled;
    garbled.Garbage = 1;
    garbled.RandomStart = 42;
    TRunningSim g(garbled);
    const std::string reply = g.Line.Exchange("BG*", "?BG*?E10*");
    ASSERT_EQ(reply.size(), 9u);
    EXPECT_NE(reply[0], '*');
    EXPECT_EQ(reply.substr(1, 3), "BG*");
    EXPECT_NE(reply[4], '*');
    EXPECT_EQ(reply.substr(5), "E10*");
}

TEST(ZavSimTest, HangsUpAfterTheGivenNumberOfRequests) {
    TSimOptions options;
    options.HangupAfter = 2;
    TRunningSim s(options);
    EXPECT_EQ(s.Line.Exchange("BG*", "BG*E10*"), "BG*E10*");
    EXPECT_EQ(s.Line.Exchange("EN*", "EN*E10*"), "EN*E10*"); // the last reply still arrives
    EXPECT_TRUE(s.Line.AwaitHangup());
    EXPECT_TRUE(s.Sim.HungUp());
}

TEST(ZavSimTest, PortLinkReplacesAStaleLinkAndIsRemovedAtTheEnd) {
    const std::filesystem::path dir =
        std::filesystem::path(testing::TempDir()) / ("zavsim_ports_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path link = dir / "COM9";
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/nonexistent/pts", link);
    {
        TSimOptions options;
        options.Port = 9;
        options.PortsDir = dir.string();
        TRunningSim s(options);
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), s.Sim.SlavePath());
        TLineClient viaLink(link.string());
        EXPECT_EQ(viaLink.Exchange("BG*", "BG*E10*"), "BG*E10*");
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

// The options and requests that cross to a simulator hosted for the Windows tests come
// back as they were sent.
TEST(ZavSimTest, RemoteOptionsAndRequestsSurviveTheirTextForm) {
    zavsim::TSimOptions all;
    all.Port = 3;
    all.PortsDir = "/tmp/ports";
    all.Baud = 1200;
    all.TimeScale = 0.013;
    all.SilentAfter = 0;
    all.E5Every = 3;
    all.Garbage = 0.3;
    all.RandomStart = 7;
    all.Split = true;
    all.HangupAfter = 2;
    all.NoiseAt = 5;
    all.StopMs = 40;
    all.CorruptAt = 4;
    all.Verbose = true;
    for (const zavsim::TSimOptions& sent : {zavsim::TSimOptions{}, all}) {
        zavsim::TSimOptions got;
        ASSERT_EQ(zavsim::ParseSimOptions(zavsim::SimOptionArgs(sent), got), "");
        EXPECT_EQ(got.Port, sent.Port);
        EXPECT_EQ(got.PortsDir, sent.PortsDir);
        EXPECT_EQ(got.Baud, sent.Baud);
        EXPECT_EQ(got.TimeScale, sent.TimeScale);
        EXPECT_EQ(got.SilentAfter, sent.SilentAfter);
        EXPECT_EQ(got.E5Every, sent.E5Every);
        EXPECT_EQ(got.Garbage, sent.Garbage);
        EXPECT_EQ(got.RandomStart, sent.RandomStart);
        EXPECT_EQ(got.Split, sent.Split);
        EXPECT_EQ(got.HangupAfter, sent.HangupAfter);
        EXPECT_EQ(got.NoiseAt, sent.NoiseAt);
        EXPECT_EQ(got.StopMs, sent.StopMs);
        EXPECT_EQ(got.CorruptAt, sent.CorruptAt);
        EXPECT_EQ(got.Verbose, sent.Verbose);
    }
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    const std::string line = zavsim::EscapeRequest(bytes);
    EXPECT_EQ(line.find_first_of(" \r\n"), std::string::npos);
    EXPECT_EQ(zavsim::UnescapeRequest(line), bytes);
    EXPECT_EQ(zavsim::EscapeRequest("MV1000"), "MV1000");
}

} // namespace
