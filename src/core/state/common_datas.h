#pragma once
// The state that every window and thread shares: selected coordinates, their states and
// started flags, scale and rounding, the error-handling and program settings, and the
// texts the serial exchange leaves for others. The setters also refresh the main
// window's display through ICommonDatasView; without a view they only store.
//
// Reply processing runs on the receive thread and sets coordinate states, started
// flags and the reply texts there; the main thread reads and sets them too. Those fields
// are atomics or TSharedText, their setters are serialised, and whatever the setters
// show on screen goes through the view runner, which runs it on the main thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "state/shared_text.h"
#include "state/views.h"

namespace zav {

// What is built from the scale (the command catalogue's ranges): rebuilt whenever the
// scale is set, before the scale's captions are shown.
class IScaleDependent {
public:
    virtual ~IScaleDependent() = default;
    virtual void ScaleChanged() = 0;
};

class TCommonDatas {
public:
    // Indicator colour of each coordinate state: standby, executing, communication, pause.
    TColor StateColors[4];

    double Scale = 1;          // steps per user unit; never 0; set through SetScale
    std::uint8_t Rounding = 0; // 0 decreasing, 1 increasing, 2 mathematic
    bool Coord1Selected = true, Coord2Selected = false, Coord3Selected = false;
    std::atomic<std::uint8_t> Coord1State{0}, Coord2State{0}, Coord3State{0};
    std::atomic<bool> Coord1Started{false}, Coord2Started{false}, Coord3Started{false};

    // Error-handling settings.
    std::atomic<bool> AutoRecovery{true};
    std::atomic<std::uint8_t> StopOnCommandError{1};
    std::atomic<std::uint8_t> StopOnDataError{1};
    std::atomic<bool> RecoveryStopRecording{true};
    std::atomic<bool> RecoveryClearBuffers{true};
    std::atomic<std::int32_t> ReplyTimeout{300}; // ms
    // A list stops when the controller echoes another command than the one sent.
    std::atomic<bool> EchoCheck{true};

    // Program settings.
    bool ShowPortLog = false;
    bool ShowWorkLog = true;
    bool ShowLoadLog = false;
    bool SavePortLog = false;
    bool SaveWorkLog = false;
    bool SavePortProps = true;
    bool SaveProgProps = true;
    bool SaveErrProps = true;
    std::string Language = "en";
    bool SaveUnits = true;
    bool SaveUnitsName = true;
    bool SaveUnitsScale = true;
    bool AutoAddEN = true;
    bool AutoAddBG = true;
    bool ReconnectLostDevice = true;       // reopen a lost port when its device is back
    bool AskBeforeSendingWarnings = false; // Send asks before a list the program check warns of

    std::atomic<bool> AnyStarted{false};
    std::atomic<bool> Recording{false};
    TSharedText LastReply;
    TSharedText LastError;
    TSharedText ReadBuffer;
    std::atomic<bool> ReadCapture{false};
    std::string UnitsName = "Step";
    std::string Version = "ver.4.0.3";
    std::atomic<bool> DirectControl{false};

    // Replaced from the language files.
    std::string TextCoordinates = "Coordinates:  ";
    std::string TextCoord = "Coord";
    std::string TextProgramExecuting = "program executing";
    std::string TextScale = "Scale";
    std::string TextSteps = "steps";
    std::string TextDecreasing = "Decreasing rounding";
    std::string TextIncreasing = "Increasing rounding";
    std::string TextMathematic = "Mathematic rounding";

    // view and log may be null; so may the catalogue until it is created.
    explicit TCommonDatas(ICommonDatasView* view = nullptr, IOperationLog* log = nullptr);
    TCommonDatas(const TCommonDatas&) = delete;
    TCommonDatas& operator=(const TCommonDatas&) = delete;

    void AttachCatalogue(IScaleDependent* catalogue) { catalogue_ = catalogue; }
    void AttachView(ICommonDatasView* view, IOperationLog* log);
    // Runs display work of setters called off the main thread; by default at once.
    using TViewRunner = std::function<void(std::function<void()>)>;
    void SetViewRunner(TViewRunner runner) { viewRunner_ = std::move(runner); }

    void SetScale(double value);
    // The rounding label, the scale group and the coordinates panel again, after the
    // texts they are composed from have changed.
    void ShowComposedCaptions();
    void SetRounding(std::uint8_t mode);
    std::int32_t RoundSteps(double value, double factor);
    // The same rule on value x multiplier / divisor, without a bound: none when the
    // result is too large to be counted in whole steps.
    std::optional<std::int64_t> RoundStepsExact(double value, double multiplier,
                                                double divisor = 1);
    // Whether the program works with this scale: positive, and neither so small nor so
    // large that a step range divided by it collapses.
    static bool ScaleAccepted(double scale);

    void SetCoordSelected(int n, bool selected);
    void SetSelectedCoords(bool c1, bool c2, bool c3);
    void ShowSelectedCoords();
    bool CoordSelected(int n) const;

    void SetCoordState(int n, std::uint8_t state);
    void SetCoordStates(std::uint8_t s1, std::uint8_t s2, std::uint8_t s3);
    std::uint8_t CoordState(int n) const;
    void ShowCoordStates();

    void EnableProgramButtons(bool writeAndStart, bool stop, bool write, bool start);

    void SetCoordStarted(int n, bool started);
    bool CoordStarted(int n) const;

private:
    void ShowScale();
    void ShowScaleCaptions();
    void RunView(std::function<void()> fn);
    void ShowCoordStates(const std::uint8_t (&states)[3]);
    std::atomic<std::uint8_t>* StateOf(int n);
    std::atomic<bool>* StartedOf(int n);

    ICommonDatasView* view_ = nullptr;
    IOperationLog* log_ = nullptr;
    IScaleDependent* catalogue_ = nullptr;
    TViewRunner viewRunner_;
    std::mutex setMutex_; // makes each state or started change one step with its flag
    // Each state change is numbered (guarded by setMutex_), so that the display, which
    // shows every change in turn, can tell one made before the last it showed.
    std::uint64_t stateVersion_ = 0;
    std::uint64_t shownVersion_ = 0; // used by the view runner's thread only
};

} // namespace zav
