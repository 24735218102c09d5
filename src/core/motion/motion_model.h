#pragma once
// What a command list will make the motors do, as far as the list alone tells: for each
// coordinate it records, the position in steps against the estimated time, from the
// speeds, accelerations, pauses and loops of its recording. Waits for an input and the
// moves to a switch take as long as the machine makes them, so they count as no time and
// are marked: the estimate is then a lower bound. The controller keeps its own timing,
// which may differ.

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

struct TMotionSettings {
    // Steps/s² for each unit of AL. The controller's unit is not known here; 100 makes
    // the range AL±1..500 span ramps of 100 s down to 0.2 s to the top speed of 10000
    // steps/s, which covers what the tool panel offers.
    double AccelerationUnit = 100.0;
    // Loops are unrolled until a coordinate has made this many points and marks, or run
    // this many commands; what lies beyond is cut and reported. Each coordinate has its
    // own, so a long loop in one leaves the others drawn.
    std::size_t PointBudget = 200000;
    std::size_t CommandBudget = 1000000;
    // Before a recording sets them: the tool panel's own defaults.
    long long DefaultSpeed = 200;
    long long DefaultStartSpeed = 1;
};

// A point of a curve: where the coordinate is at a time, and the list line (from 0)
// whose command brought it there.
struct TMotionPoint {
    double Time = 0;     // s
    double Position = 0; // steps
    std::size_t Line = 0;
};

enum class TMarkKind {
    Pause,   // SP: its length is known and counted
    Wait,    // WL, WH: waits for an input, for as long as the machine makes it
    Seek,    // MH, ML, HM: moves until an input or the zero switch
    Endless, // MV without a count: moves until it is stopped
};

struct TMotionMark {
    TMarkKind Kind = TMarkKind::Pause;
    double Time = 0;     // where it begins
    double Length = 0;   // s; 0 for the marks of unknown length
    double Position = 0; // steps
    std::size_t Line = 0;
};

struct TCoordinateMotion {
    int Coordinate = 0;               // 1..3
    std::size_t FirstLine = 0;        // the recording's LD (or the first line of a body)
    std::size_t LastLine = 0;         // its ED, or its last line
    std::vector<TMotionPoint> Points; // the first at time 0, position 0
    std::vector<TMotionMark> Marks;
    double EndPosition = 0;  // steps
    double Duration = 0;     // s
    bool LowerBound = false; // a mark of unknown length, or a cut, makes it longer
    bool Cut = false;        // the budget ran out before the recording's end
};

struct TMotionPreview {
    // In the order of the coordinates; a coordinate recorded twice keeps its last
    // recording, which is what the controller then holds.
    std::vector<TCoordinateMotion> Coordinates;
    // The coordinates run side by side once started: the list lasts as long as the
    // longest of them.
    double Duration = 0;
    bool LowerBound = false;
    bool Cut = false;
    std::size_t CutAtLine = 0;  // the line being run when the budget ran out
    std::size_t PointsMade = 0; // points and marks
    std::size_t CommandsRun = 0;

    // The coordinate's motion, or null when the list does not record it.
    const TCoordinateMotion* Find(int coordinate) const;
};

// The recordings (LD n ... ED) of a command list.
TMotionPreview BuildMotionPreview(const std::vector<std::string>& lines,
                                  const TMotionSettings& settings = {});
// A program read back from a coordinate: the body of one recording, without LD and ED.
TMotionPreview BuildBodyPreview(const std::vector<std::string>& lines, int coordinate,
                                const TMotionSettings& settings = {});

// The time a move of steps takes from start speed ss to top speed sd and back, at
// acceleration a (steps/s²; 0: at sd throughout), and the distance each ramp covers.
struct TMoveProfile {
    double RampTime = 0;   // s, each of the two ramps
    double CruiseTime = 0; // s, at the top speed reached
    double Peak = 0;       // steps/s
    double StartSpeed = 0;
    double Acceleration = 0;
    double Total() const { return 2 * RampTime + CruiseTime; }
};
TMoveProfile MoveProfile(double steps, double ss, double sd, double a);

} // namespace zav
