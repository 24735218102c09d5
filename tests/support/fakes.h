#pragma once
// Recording fakes of the core's view interfaces, and a scratch folder, for unit tests.

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "command-language/zav_commands.h"
#include "controller/controller.h"
#include "serial/timer.h"
#include "state/common_datas.h"
#include "state/views.h"

namespace zav::test {

class RecordingLog : public IOperationLog {
public:
    struct Line {
        std::string text;
        TColor color;
    };
    std::vector<Line> lines;
    TColor color{0, 0, 0};

    void SetTextColor(TColor c) override { color = c; }
    // The colour set applies to the next line only.
    void AddLine(const std::string& line) override {
        lines.push_back({line, color});
        color = {0, 0, 0};
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& line : lines)
            texts.push_back(line.text);
        return texts;
    }
    bool Red(std::size_t i) const { return lines.at(i).color == clRed; }
};

class RecordingMessageBox : public IMessageBox {
public:
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

// Behaves like the main window: a check box whose state changes fires the click
// handler, which passes all three boxes to SetSelectedCoords of the attached datas.
class FakeCommonDatasView : public ICommonDatasView {
public:
    TCommonDatas* datas = nullptr;
    int controlMode = 0;
    std::string coordinatesCaption, roundingCaption;
    std::string scaleText, groupCaption, label3Caption;
    std::array<bool, 3> boxes{true, false, false};
    std::array<TColor, 3> indicators{};
    std::array<bool, 4> programButtons{true, true, true, true};
    int boxClicks = 0;

    void SetCoordinatesCaption(const std::string& caption) override {
        coordinatesCaption = caption;
    }
    void SetCoordCheckBox(int n, bool checked) override {
        bool& box = boxes.at(static_cast<std::size_t>(n - 1));
        if (box == checked)
            return;
        box = checked;
        ++boxClicks;
        if (datas)
            datas->SetSelectedCoords(boxes[0], boxes[1], boxes[2]);
    }
    void SetIndicatorColor(int n, TColor color) override {
        indicators.at(static_cast<std::size_t>(n - 1)) = color;
    }
    void SetRoundingCaption(const std::string& caption) override { roundingCaption = caption; }
    void ShowScale(const std::string& s, const std::string& group,
                   const std::string& label3) override {
        scaleText = s;
        groupCaption = group;
        label3Caption = label3;
    }
    void EnableProgramButtons(bool a, bool b, bool c, bool d) override {
        programButtons = {a, b, c, d};
    }
    int ControlMode() const override { return controlMode; }
};

// The units radio group, and direct control as recorded presses of its buttons.
class FakeHooks : public IMainWindowHooks, public IDirectControl {
public:
    int unitsIndex = 0;
    bool directControl = false;
    std::vector<std::string> presses; // "clear", "send" in order

    int UnitsIndex() const override { return unitsIndex; }
    bool DirectControlOn() const override { return directControl; }
    void PressClearAll() override { presses.push_back("clear"); }
    void PressSend() override { presses.push_back("send"); }
};

// Every view of the main window's logic, as recording fakes.
struct RecordingViews {
    RecordingLog log;
    RecordingMessageBox messageBox;
    FakeCommonDatasView commonDatasView;
    FakeHooks hooks;

    TControllerViews Views() {
        TControllerViews v;
        v.Log = &log;
        v.MessageBox = &messageBox;
        v.CommonDatasView = &commonDatasView;
        v.Hooks = &hooks;
        return v;
    }
};

// A fresh folder under the system's temporary folder, removed with its contents.
// A timer that ticks only when the test says so.
struct ManualTimer : ITimer {
    bool running = false;
    std::function<void()> tick;
    void Start(int, std::function<void()> onTick) override { tick = onTick, running = true; }
    void Stop() override { running = false; }
    void Tick() {
        const auto copy = tick; // the tick may start the timer anew
        if (running)
            copy();
    }
};

class TempFolder {
public:
    TempFolder() {
#ifdef _WIN32
        // No mkdtemp: a random name that create_directory finds free.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            auto candidate =
                std::filesystem::temp_directory_path() / ("zav_test_" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("cannot create a temporary folder");
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "zav_test_XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
#endif
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const {
        return path_;
    }
    std::string File(const std::string& name) const {
        return (path_ / name).string();
    }

    // Writes raw bytes, creating the folders on the way.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

} // namespace zav::test
