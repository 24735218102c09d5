#include "motion/motion_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "command-language/program_structure.h"

namespace zav {

namespace {

enum class TOp : unsigned char {
    Other,
    SD,
    SS,
    AL,
    DL,
    DR,
    RS,
    MV,
    SP,
    WL,
    WH,
    MH,
    ML,
    HM,
    LL,
    JP,
    LB,
    SB
};

struct TParsed {
    TOp Op = TOp::Other;
    bool HasValue = false;
    long long Value = 0;
};

TOp OpOf(const std::string& m) {
    struct TEntry {
        const char* Mnemonic;
        TOp Op;
    };
    static constexpr TEntry table[] = {
        {"SD", TOp::SD}, {"SS", TOp::SS}, {"AL", TOp::AL}, {"DL", TOp::DL}, {"DR", TOp::DR},
        {"RS", TOp::RS}, {"MV", TOp::MV}, {"SP", TOp::SP}, {"WL", TOp::WL}, {"WH", TOp::WH},
        {"MH", TOp::MH}, {"ML", TOp::ML}, {"HM", TOp::HM}, {"LL", TOp::LL}, {"JP", TOp::JP},
        {"LB", TOp::LB}, {"SB", TOp::SB}};
    for (const TEntry& e : table)
        if (m == e.Mnemonic)
            return e.Op;
    return TOp::Other;
}

std::vector<TParsed> ParseAll(const std::vector<std::string>& lines) {
    std::vector<TParsed> ops(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TProgramLine line = ParseProgramLine(lines[i]);
        ops[i].Op = OpOf(line.Mnemonic);
        ops[i].HasValue = line.Value.has_value();
        ops[i].Value = line.Value.value_or(0);
    }
    return ops;
}

constexpr std::size_t None = std::numeric_limits<std::size_t>::max();
// Points drawn along each ramp of an accelerated move.
constexpr int RampSamples = 8;

// Runs one recording's body as the controller would, counting time instead of waiting.
class TRunner {
public:
    TRunner(const std::vector<TParsed>& ops, const TMotionSettings& settings,
            std::size_t pointBudget, std::size_t commandBudget)
        : ops_(ops), settings_(settings), pointBudget_(pointBudget), commandBudget_(commandBudget) {
    }

    // Lines first..last (inclusive; first > last for an empty body); the origin point
    // belongs to line origin.
    void Run(std::size_t first, std::size_t last, std::size_t origin, TCoordinateMotion& m) {
        m_ = &m;
        m.Points.push_back({0, 0, origin});
        const std::size_t count = last + 1 > first ? last + 1 - first : 0;
        // Where each JP and SB goes back to: after the nearest LL or LB before it. A JP
        // without a label repeats from the start; an SB without LB repeats nothing.
        std::vector<std::size_t> target(count, None);
        std::size_t ll = None, lb = None;
        for (std::size_t k = 0; k < count; ++k) {
            const TOp op = ops_[first + k].Op;
            if (op == TOp::LL)
                ll = k;
            else if (op == TOp::LB)
                lb = k;
            else if (op == TOp::JP)
                target[k] = ll == None ? 0 : ll + 1;
            else if (op == TOp::SB)
                target[k] = lb == None ? None : lb + 1;
        }
        // Repeats left for each JP and SB; -1 until it is reached, and again once spent,
        // so that an enclosing loop runs it afresh.
        std::vector<long long> left(count, -1);
        long long sd = settings_.DefaultSpeed, ss = settings_.DefaultStartSpeed, al = 0;
        int direction = 1;
        std::size_t k = 0;
        while (k < count) {
            const std::size_t line = first + k;
            if (commands_ >= commandBudget_)
                return CutAt(line);
            ++commands_;
            const TParsed& p = ops_[line];
            switch (p.Op) {
            case TOp::SD:
                if (p.HasValue && p.Value > 0)
                    sd = p.Value;
                break;
            case TOp::SS:
                if (p.HasValue && p.Value >= 0)
                    ss = p.Value;
                break;
            case TOp::AL:
                if (p.HasValue) {
                    // A read-back gives a negative acceleration as 32768 minus it.
                    const long long v = p.Value > 32768 ? 32768 - p.Value : p.Value;
                    al = v < 0 ? -v : v;
                }
                break;
            case TOp::DL:
                direction = 1;
                break;
            case TOp::DR:
                direction = -1;
                break;
            case TOp::RS:
                direction = -direction;
                break;
            case TOp::MV:
                if (!p.HasValue) {
                    // Moves until stopped: nothing after it runs by itself.
                    Mark(TMarkKind::Endless, 0, line);
                    return;
                }
                if (p.Value > 0 &&
                    !Move(static_cast<double>(p.Value) * direction, sd, ss, al, line))
                    return;
                break;
            case TOp::SP:
                if (p.HasValue && p.Value > 0) {
                    const double length = static_cast<double>(p.Value) / 1000.0;
                    if (!Mark(TMarkKind::Pause, length, line))
                        return;
                    time_ += length;
                    if (!Point(line))
                        return;
                }
                break;
            case TOp::WL:
            case TOp::WH:
                if (!Mark(TMarkKind::Wait, 0, line))
                    return;
                break;
            case TOp::MH:
            case TOp::ML:
                if (!Mark(TMarkKind::Seek, 0, line))
                    return;
                break;
            case TOp::HM:
                // At the zero switch, which is where the count of steps begins.
                if (!Mark(TMarkKind::Seek, 0, line))
                    return;
                position_ = 0;
                if (!Point(line))
                    return;
                break;
            case TOp::JP:
            case TOp::SB:
                if (target[k] != None) {
                    const long long remaining = left[k] < 0 ? p.Value : left[k];
                    if (remaining > 0) {
                        left[k] = remaining - 1;
                        k = target[k];
                        continue;
                    }
                }
                left[k] = -1;
                break;
            default:
                break;
            }
            ++k;
        }
        Finish();
    }

    std::size_t Points() const { return points_; }
    std::size_t Commands() const { return commands_; }
    std::size_t CutLine() const { return cutLine_; }

private:
    bool Point(std::size_t line) {
        if (points_ >= pointBudget_) {
            CutAt(line);
            return false;
        }
        ++points_;
        m_->Points.push_back({time_, position_, line});
        return true;
    }

    bool Mark(TMarkKind kind, double length, std::size_t line) {
        if (points_ >= pointBudget_) {
            CutAt(line);
            return false;
        }
        ++points_;
        m_->Marks.push_back({kind, time_, length, position_, line});
        if (kind != TMarkKind::Pause)
            m_->LowerBound = true;
        if (kind == TMarkKind::Endless)
            Finish();
        return true;
    }

    bool Move(double steps, long long sd, long long ss, long long al, std::size_t line) {
        const double n = std::fabs(steps);
        const double sign = steps < 0 ? -1.0 : 1.0;
        const TMoveProfile profile =
            MoveProfile(n, static_cast<double>(ss), static_cast<double>(sd),
                        static_cast<double>(al) * settings_.AccelerationUnit);
        const double start = position_, t0 = time_;
        if (profile.RampTime > 0) {
            const double a = profile.Acceleration, v0 = profile.StartSpeed;
            const double ramp = v0 * profile.RampTime + a * profile.RampTime * profile.RampTime / 2;
            for (int i = 1; i <= RampSamples; ++i) {
                const double tau = profile.RampTime * i / RampSamples;
                time_ = t0 + tau;
                position_ = start + sign * (v0 * tau + a * tau * tau / 2);
                if (!Point(line))
                    return false;
            }
            if (profile.CruiseTime > 0) {
                time_ += profile.CruiseTime;
                position_ = start + sign * (n - ramp);
                if (!Point(line))
                    return false;
            }
            const double t1 = time_, p1 = position_;
            for (int i = 1; i <= RampSamples; ++i) {
                const double tau = profile.RampTime * i / RampSamples;
                time_ = t1 + tau;
                position_ = p1 + sign * (profile.Peak * tau - a * tau * tau / 2);
                if (!Point(line))
                    return false;
            }
        } else {
            time_ = t0 + profile.Total();
        }
        // Exactly the steps sent, whatever the rounding of the samples.
        position_ = start + steps;
        time_ = t0 + profile.Total();
        if (profile.RampTime > 0) {
            m_->Points.back().Position = position_;
            m_->Points.back().Time = time_;
            return true;
        }
        return Point(line);
    }

    void CutAt(std::size_t line) {
        m_->Cut = true;
        m_->LowerBound = true;
        cutLine_ = line;
        Finish();
    }

    void Finish() {
        m_->Duration = time_;
        m_->EndPosition = position_;
    }

    const std::vector<TParsed>& ops_;
    const TMotionSettings& settings_;
    const std::size_t pointBudget_, commandBudget_;
    TCoordinateMotion* m_ = nullptr;
    double time_ = 0, position_ = 0;
    std::size_t points_ = 0, commands_ = 0, cutLine_ = None;
};

struct TBody {
    int Coordinate = 0;
    std::size_t Origin = 0, First = 0, Last = 0, EndLine = 0;
    bool Empty = true;
};

TMotionPreview Build(const std::vector<TParsed>& ops, const std::vector<TBody>& bodies,
                     const TMotionSettings& settings) {
    TMotionPreview preview;
    if (bodies.empty())
        return preview;
    for (const TBody& body : bodies) {
        TCoordinateMotion motion;
        motion.Coordinate = body.Coordinate;
        motion.FirstLine = body.Origin;
        motion.LastLine = body.EndLine;
        TRunner runner(ops, settings, settings.PointBudget, settings.CommandBudget);
        if (body.Empty)
            runner.Run(1, 0, body.Origin, motion);
        else
            runner.Run(body.First, body.Last, body.Origin, motion);
        preview.PointsMade += runner.Points();
        preview.CommandsRun += runner.Commands();
        if (motion.Cut && !preview.Cut) {
            preview.Cut = true;
            preview.CutAtLine = runner.CutLine();
        }
        preview.Duration = std::max(preview.Duration, motion.Duration);
        preview.LowerBound = preview.LowerBound || motion.LowerBound;
        preview.Coordinates.push_back(std::move(motion));
    }
    return preview;
}

} // namespace

const TCoordinateMotion* TMotionPreview::Find(int coordinate) const {
    for (const TCoordinateMotion& c : Coordinates)
        if (c.Coordinate == coordinate)
            return &c;
    return nullptr;
}

TMoveProfile MoveProfile(double steps, double ss, double sd, double a) {
    TMoveProfile p;
    sd = std::max(sd, 1.0);
    ss = std::max(ss, 0.0);
    p.StartSpeed = ss;
    p.Acceleration = a;
    p.Peak = sd;
    if (a <= 0 || ss >= sd) {
        p.CruiseTime = steps / sd;
        return p;
    }
    const double ramp = (sd * sd - ss * ss) / (2 * a);
    if (2 * ramp <= steps) {
        p.RampTime = (sd - ss) / a;
        p.CruiseTime = (steps - 2 * ramp) / sd;
    } else {
        // Too short to reach the top speed: up to where the two ramps meet, and back.
        p.Peak = std::sqrt(ss * ss + a * steps);
        p.RampTime = (p.Peak - ss) / a;
    }
    return p;
}

TMotionPreview BuildMotionPreview(const std::vector<std::string>& lines,
                                  const TMotionSettings& settings) {
    // The last recording of each coordinate is the one the controller keeps.
    TBody last[3];
    for (const TRecordingSpan& span : FindRecordings(lines)) {
        if (span.Coordinate < 1 || span.Coordinate > 3)
            continue;
        TBody& body = last[span.Coordinate - 1];
        body.Coordinate = span.Coordinate;
        body.Origin = span.Begin;
        body.EndLine = span.End;
        body.First = span.Begin + 1;
        body.Last = span.Closed ? span.End - 1 : span.End;
        body.Empty = body.Last < body.First || span.End == span.Begin;
    }
    std::vector<TBody> bodies;
    for (const TBody& body : last)
        if (body.Coordinate != 0)
            bodies.push_back(body);
    return Build(ParseAll(lines), bodies, settings);
}

TMotionPreview BuildBodyPreview(const std::vector<std::string>& lines, int coordinate,
                                const TMotionSettings& settings) {
    TBody body;
    body.Coordinate = coordinate;
    body.Empty = lines.empty();
    body.Last = lines.empty() ? 0 : lines.size() - 1;
    body.EndLine = body.Last;
    return Build(ParseAll(lines), {body}, settings);
}

} // namespace zav
