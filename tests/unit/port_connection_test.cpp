// The port description line and the port settings file.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "controller/controller.h"
#ifndef _WIN32
#include "pty_peer.h"
#endif
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {
namespace {

class TRecordingMessages : public IMessageBox {
public:
    void ShowMessage(const std::string& text) override { Texts.push_back(text); }
    std::vector<std::string> Texts;
};

class TRecordingLog : public IOperationLog {
public:
    void SetTextColor(TColor color) override { Color = color; }
    void AddLine(const std::string& line) override { Lines.push_back({line, Color}); }
    TColor Color;
    std::vector<std::pair<std::string, TColor>> Lines;
};

class PortConnection : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zav_port_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "Data");
        std::filesystem::create_directories(dir_ / "lang");
        previousAppDir_ = AppDir();
        SetAppDir(dir_.string());
        controller_ = std::make_unique<TController>(
            dispatcher_, TControllerViews{&log_, &messages_, nullptr, nullptr, nullptr});
        messages_.Texts.clear(); // the missing language files
    }
    void TearDown() override {
        controller_.reset();
        SetAppDir(previousAppDir_);
        std::filesystem::remove_all(dir_);
    }
    std::string PortFile() const { return (dir_ / "Data" / "portp.dat").string(); }

    std::filesystem::path dir_;
    std::string previousAppDir_;
    TQueueDispatcher dispatcher_;
    TRecordingMessages messages_;
    TRecordingLog log_;
    std::unique_ptr<TController> controller_;
};

TEST_F(PortConnection, DescriptionNamesEachLineSetting) {
    struct Row {
        int port, dataBits, stopBits, parity;
        std::string expected; // with m5.. for the messages
    };
    TLang& lang = controller_->Lang();
    auto m = [&](int n) { return lang.Message(n); };
    const Row rows[] = {
        {1, 3, 0, 2, "Com1;  8 " + m(5) + m(6) + " 1;  " + m(9)},
        {12, 0, 1, 0, "Com12;  5 " + m(5) + m(6) + " 1,5;  " + m(7)},
        {255, 1, 2, 4, "Com255;  6 " + m(5) + m(6) + " 2;  " + m(11)},
        {3, 2, 0, 3, "Com3;  7 " + m(5) + m(6) + " 1;  " + m(10)},
        // Codes outside their range add nothing for their part.
        {4, 9, 3, 5, "Com4;  "},
    };
    TComPort& port = controller_->Port();
    for (const Row& row : rows) {
        port.SetPortNumber(row.port);
        port.SetDataBits(row.dataBits);
        port.SetStopBits(row.stopBits);
        port.SetParity(row.parity);
        EXPECT_EQ(controller_->PortConnection().PortInfo(), row.expected) << "port " << row.port;
    }
}

TEST_F(PortConnection, SettingsFileKeepsPortNumberEncoded) {
    controller_->Port().SetPortNumber(42);
    controller_->PortConnection().SavePortSettings();
    std::ifstream raw(PortFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(raw)), {});
    EXPECT_EQ(bytes.size(), 4u);
    EXPECT_NE(bytes, "42\r\n"); // scrambled on disk
    EXPECT_EQ(LoadLines(PortFile(), true), std::vector<std::string>{"42"});

    controller_->Port().SetPortNumber(5);
    controller_->Port().SetStopBits(2);
    controller_->PortConnection().LoadPortSettings();
    EXPECT_EQ(controller_->Port().PortNumber(), 42u);
    // The line settings are fixed at every load: 8 data bits, one stop bit, even, 9600.
    EXPECT_EQ(controller_->Port().DataBits(), 3);
    EXPECT_EQ(controller_->Port().StopBits(), 0);
    EXPECT_EQ(controller_->Port().Parity(), 2);
    EXPECT_EQ(controller_->Port().BaudIndex(), 6);
    EXPECT_TRUE(log_.Lines.empty());
}

TEST_F(PortConnection, UnreadableSettingsFileIsLoggedAndKeepsTheNumber) {
    const std::vector<std::vector<std::string>> files = {{},    {""},    {"COM1"},       {"-3"},
                                                         {"0"}, {"256"}, {"99999999999"}};
    for (const auto& lines : files) {
        SaveLines(PortFile(), lines, true);
        controller_->Port().SetPortNumber(6);
        log_.Lines.clear();
        controller_->PortConnection().LoadPortSettings();
        EXPECT_EQ(controller_->Port().PortNumber(), 6u);
        ASSERT_EQ(log_.Lines.size(), 1u);
        EXPECT_NE(log_.Lines[0].first.find(PortFile()), std::string::npos);
        EXPECT_EQ(log_.Lines[0].second, clRed);
        EXPECT_EQ(controller_->Port().DataBits(), 3);
    }
    std::filesystem::remove(PortFile());
    log_.Lines.clear();
    controller_->PortConnection().LoadPortSettings();
    EXPECT_EQ(log_.Lines.size(), 1u);
}

TEST_F(PortConnection, UnwritableSettingsFileIsReportedOnClosing) {
    controller_->Port().SetPortNumber(3);
    std::filesystem::remove_all(dir_ / "Data");
    controller_->SettingsFiles().SaveAllOnClose({});
    ASSERT_EQ(messages_.Texts.size(), 1u);
    EXPECT_NE(messages_.Texts[0].find("portp.dat"), std::string::npos);
}

TEST_F(PortConnection, PortOutsideItsRangeIsNeverWritten) {
    SaveLines(PortFile(), {"4"}, true);
    for (std::uint32_t number : {0u, 256u, 70000u}) {
        controller_->Port().SetPortNumber(number);
        controller_->PortConnection().SavePortSettings();
        EXPECT_EQ(LoadLines(PortFile(), true), std::vector<std::string>{"4"}) << number;
    }
}

// Message 4, and why, in the operator's words, with the device.
TEST_F(PortConnection, PortThatDoesNotOpenShowsMessageFourAndWhy) {
    TLang& lang = controller_->Lang();
    controller_->Port().SetPortNumber(7);
    controller_->PortConnection().btnOpenPortClick();
    EXPECT_FALSE(controller_->Port().Connected());
    const std::string device = controller_->PortConnection().PortDevicePath();
    EXPECT_EQ(messages_.Texts,
              std::vector<std::string>{lang.Message(4) + ": " + lang.Message(msgNoSuchDevice) +
                                       " (" + device + ")"});
}

#ifndef _WIN32
// The reason is the one the failing call gave, in the operator's words or the system's.
TEST_F(PortConnection, PortThatDoesNotOpenShowsTheExactReason) {
    test::TPtyPeer pty;
    TComPort holder(dispatcher_);
    holder.SetDevicePath(pty.SlavePath());
    ASSERT_FALSE(holder.Open());
    std::ofstream(dir_ / "plain.txt") << "x";
    std::filesystem::create_directories(dir_ / "folder");
    const TLang& lang = controller_->Lang();
    const struct {
        std::string device, reason;
    } rows[] = {
        {(dir_ / "missing").string(), lang.Message(msgNoSuchDevice)},
        {pty.SlavePath(), lang.Message(msgDeviceBusy)},
        {(dir_ / "plain.txt").string(), lang.Message(msgNotSerialDevice)},
        {(dir_ / "folder").string(), std::strerror(EISDIR)},
    };
    for (const auto& row : rows) {
        controller_->Port().SetDevicePath(row.device);
        messages_.Texts.clear();
        controller_->PortConnection().btnOpenPortClick();
        EXPECT_FALSE(controller_->Port().Connected());
        EXPECT_EQ(messages_.Texts, std::vector<std::string>{lang.Message(4) + ": " + row.reason +
                                                            " (" + row.device + ")"});
    }
}
#endif

} // namespace
} // namespace zav
