#pragma once
// The controller's side of the command language, without any I/O: it takes one complete
// request at a time and returns what the controller answers, keeps the program memory of
// the three coordinates and the command buffer, and runs stored programs against a clock
// the caller passes in. The simulator feeds it from the pseudo-terminal.

#include <array>
#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zavsim {

using TClock = std::chrono::steady_clock;

// One stored command as the controller keeps it: parameters are whole numbers in steps.
struct TStoredCommand {
    std::string Mnemonic;
    std::optional<long long> Param;

    // The command as the controller sends it back, without "*"; a negative acceleration
    // comes back as 32768 plus its magnitude.
    std::string ReadBackText() const;
    bool operator==(const TStoredCommand&) const = default;
};

enum class TRunState { Idle, Running, Paused };

class TControllerModel {
public:
    static constexpr std::size_t MaxProgramSize = 1024;
    static constexpr long long DefaultSpeed = 200; // steps/s until a program sets SD
    // Instant steps (time scale 0, settings, labels) run at most this many per Advance,
    // so that a long instantaneous loop cannot hold up the line.
    static constexpr int MaxStepsPerAdvance = 10000;

    // timeScale multiplies every duration (moves, pauses); 0 makes them instantaneous.
    explicit TControllerModel(double timeScale);
    // A stop of a running program given as ST n is accepted with code 0, and the end
    // (code 4) follows after stopTime, as a motor that ramps down reports it; without
    // it the stop is answered by the end at once.
    void SetStopTime(std::optional<TClock::duration> stopTime) { stopTime_ = stopTime; }

    // One complete request, without its "*" (and without leading blanks). Returns the
    // controller's answer, one unit per element, each ending with "*": the echo, the
    // coded reply(ies), and for RD/RB the stored commands and "ED*".
    std::vector<std::string> HandleRequest(const std::string& request, TClock::time_point now);

    // Runs the programs up to now; returns the unsolicited replies that came due
    // (a program's completion, "E" n "4*").
    std::vector<std::string> Advance(TClock::time_point now);

    // When Advance next has something to do; empty while no program is due.
    std::optional<TClock::time_point> NextDeadline() const;

    // The coordinate digit of the coded reply to request: the request's own coordinate
    // digit where its command takes one, else the coordinate being recorded, else '1'.
    char ReplyDigit(const std::string& request) const;

    static std::string CodedReply(char digit, char code);
    // The request as line noise may change it: one digit of its value changed so that it
    // is still a valid command (MV1000 -> MV1900, ST1 -> ST3); unchanged when no digit can
    // be changed that way.
    static std::string NoisyRequest(const std::string& request);

    // The program memory of the three coordinates and the recording under way, as text,
    // and back (what a controller keeps without power; a malformed line is skipped).
    std::string SaveMemory() const;
    void LoadMemory(const std::string& text);

    // Inspection.
    std::vector<TStoredCommand> Program(int coordinate) const;
    std::vector<TStoredCommand> Buffer() const { return buffer_; }
    TRunState RunState(int coordinate) const;
    long long Position(int coordinate) const;
    int RecordingCoordinate() const { return recording_; } // 0 while not recording
    bool BufferCapture() const { return bufferCapture_; }

private:
    struct TRun {
        TRunState State = TRunState::Idle;
        std::vector<TStoredCommand> Code; // snapshot taken at start
        std::size_t Pc = 0;
        long long Speed = DefaultSpeed;
        int Direction = 1;
        // The timed step under way: it ends at Due; while paused Remaining holds the rest.
        bool Timed = false;
        bool Endless = false; // permanent motion, ends only by a stop
        TClock::time_point Started{};
        TClock::time_point Due{};
        TClock::duration Remaining{};
        TClock::duration Length{};
        long long MoveSteps = 0;                   // signed steps of the move under way
        std::map<std::size_t, long long> Counters; // repeat counters by JP/SB position
        long long Position = 0;
    };

    enum class TParamKind { None, Required, Optional, Coordinate, CoordinateOrNone };
    struct TRule {
        const char* Mnemonic;
        TParamKind Kind;
        long long Min;
        long long Max;
    };
    static const TRule* FindRule(const std::string& mnemonic);

    // Parses request into cmd; returns '0' when valid, else the error code '6' or '9'.
    static char Parse(const std::string& request, TStoredCommand& cmd);

    void Start(int coordinate);
    void StopRun(int coordinate, TClock::time_point now);
    // StopRun, then the coordinate runs an empty program that ends after stopTime_.
    void RampDown(int coordinate, TClock::time_point now);
    void Pause(int coordinate, TClock::time_point now);
    void Resume(int coordinate, TClock::time_point now);
    // Executes coordinate's program from its Pc until a timed step or the end; returns
    // false when the step budget ran out first.
    bool Step(int coordinate, TClock::time_point now, int& budget, std::vector<std::string>& out);
    TClock::duration Scaled(double seconds) const;

    double timeScale_;
    std::optional<TClock::duration> stopTime_;
    std::array<std::vector<TStoredCommand>, 3> programs_;
    std::array<TRun, 3> runs_;
    std::vector<TStoredCommand> buffer_;
    int recording_ = 0;          // coordinate whose program memory is being written
    bool bufferCapture_ = false; // LB given outside a recording: commands go to the buffer
};

} // namespace zavsim
