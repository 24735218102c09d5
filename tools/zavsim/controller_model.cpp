#include "controller_model.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace zavsim {

std::string TStoredCommand::ReadBackText() const {
    if (!Param) {
        return Mnemonic;
    }
    long long value = *Param;
    if (Mnemonic == "AL" && value < 0) {
        value = 32768 - value;
    }
    return Mnemonic + std::to_string(value);
}

const TControllerModel::TRule* TControllerModel::FindRule(const std::string& mnemonic) {
    using K = TParamKind;
    static const TRule rules[] = {
        {"ST", K::CoordinateOrNone, 1, 3},
        {"LD", K::Coordinate, 1, 3},
        {"ED", K::None, 0, 0},
        {"BG", K::None, 0, 0},
        {"EN", K::None, 0, 0},
        {"MV", K::Optional, 1, 10000000},
        {"SD", K::Required, 1, 10000},
        {"SS", K::Required, 0, 2000},
        {"AL", K::Required, -1000, 1000},
        {"RS", K::None, 0, 0},
        {"SP", K::Required, 1, 99999999},
        {"DS", K::None, 0, 0},
        {"LL", K::None, 0, 0},
        {"JP", K::Required, 0, 255},
        {"DL", K::None, 0, 0},
        {"DR", K::None, 0, 0},
        {"SF", K::Required, 1, 4},
        {"WL", K::Required, 1, 4},
        {"WH", K::Required, 1, 4},
        {"CF", K::Required, 1, 4},
        {"ON", K::None, 0, 0},
        {"OF", K::None, 0, 0},
        {"PS", K::CoordinateOrNone, 1, 3},
        {"MH", K::Required, 1, 4},
        {"ML", K::Required, 1, 4},
        {"HM", K::None, 0, 0},
        {"LB", K::None, 0, 0},
        {"SB", K::Required, 1, 250},
        {"RB", K::None, 0, 0},
        {"RD", K::Coordinate, 1, 3},
        {"SC", K::Required, 1, 2147483647},
    };
    for (const TRule& rule : rules) {
        if (mnemonic == rule.Mnemonic) {
            return &rule;
        }
    }
    return nullptr;
}

char TControllerModel::Parse(const std::string& request, TStoredCommand& cmd) {
    if (request.size() < 2) {
        return '6';
    }
    cmd.Mnemonic = request.substr(0, 2);
    cmd.Param.reset();
    const TRule* rule = FindRule(cmd.Mnemonic);
    if (!rule) {
        return '6';
    }
    std::string rest = request.substr(2);
    if (rest.empty()) {
        const bool optional = rule->Kind == TParamKind::None ||
                              rule->Kind == TParamKind::Optional ||
                              rule->Kind == TParamKind::CoordinateOrNone;
        return optional ? '0' : '9';
    }
    if (rule->Kind == TParamKind::None) {
        return '9';
    }
    bool negative = false;
    std::size_t pos = 0;
    // Only the acceleration is signed ("AL+50", "AL-50").
    if (cmd.Mnemonic == "AL" && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        pos = 1;
    }
    const std::size_t digits = rest.size() - pos;
    if (digits == 0 || digits > 12) {
        return '9';
    }
    long long value = 0;
    for (std::size_t i = pos; i < rest.size(); ++i) {
        if (rest[i] < '0' || rest[i] > '9') {
            return '9';
        }
        value = value * 10 + (rest[i] - '0');
    }
    if (negative) {
        value = -value;
    }
    if (value < rule->Min || value > rule->Max) {
        return '9';
    }
    cmd.Param = value;
    return '0';
}

TControllerModel::TControllerModel(double timeScale) : timeScale_(std::max(0.0, timeScale)) {}

std::string TControllerModel::NoisyRequest(const std::string& request) {
    std::vector<std::size_t> digits;
    for (std::size_t i = 2; i < request.size(); ++i) {
        if (request[i] >= '0' && request[i] <= '9') {
            digits.push_back(i);
        }
    }
    // The second digit first, as in MV1000 -> MV1900: the first one often leaves the range.
    if (digits.size() > 1) {
        std::rotate(digits.begin(), digits.begin() + 1, digits.end());
    }
    for (const std::size_t i : digits) {
        for (char d = '9'; d >= '0'; --d) {
            if (d == request[i]) {
                continue;
            }
            std::string noisy = request;
            noisy[i] = d;
            TStoredCommand cmd;
            if (Parse(noisy, cmd) == '0') {
                return noisy;
            }
        }
    }
    return request;
}

std::string TControllerModel::CodedReply(char digit, char code) {
    return std::string{'E', digit, code, '*'};
}

char TControllerModel::ReplyDigit(const std::string& request) const {
    if (request.size() == 3 && request[2] >= '1' && request[2] <= '3') {
        const std::string m = request.substr(0, 2);
        if (m == "ST" || m == "LD" || m == "PS" || m == "RD") {
            return request[2];
        }
    }
    return recording_ ? static_cast<char>('0' + recording_) : '1';
}

std::vector<std::string> TControllerModel::HandleRequest(const std::string& request,
                                                         TClock::time_point now) {
    std::vector<std::string> out{request + "*"};
    const char digit = ReplyDigit(request);
    TStoredCommand cmd;
    const char code = Parse(request, cmd);
    if (code != '0') {
        out.push_back(CodedReply(digit, code));
        return out;
    }
    const std::string& m = cmd.Mnemonic;
    const int n = cmd.Param ? static_cast<int>(*cmd.Param) : 0; // coordinate, where one

    if (recording_) {
        if (m == "ED") {
            recording_ = 0;
        } else if (m == "LD") {
            programs_[n - 1].clear();
            recording_ = n;
        } else if (programs_[recording_ - 1].size() >= MaxProgramSize) {
            out.push_back(CodedReply(digit, '9'));
            return out;
        } else {
            programs_[recording_ - 1].push_back(cmd);
        }
        out.push_back(CodedReply(digit, '0'));
        return out;
    }

    if (bufferCapture_) {
        static const char* const notBuffered[] = {"ED", "LD", "ST", "PS", "RD", "RB", "LB", "SB"};
        const bool buffered = std::none_of(std::begin(notBuffered), std::end(notBuffered),
                                           [&](const char* b) { return m == b; });
        if (buffered) {
            if (buffer_.size() >= MaxProgramSize) {
                out.push_back(CodedReply(digit, '9'));
            } else {
                buffer_.push_back(cmd);
                out.push_back(CodedReply(digit, '0'));
            }
            return out;
        }
        bufferCapture_ = false;
    }

    if (m == "LD") {
        programs_[n - 1].clear();
        recording_ = n;
        out.push_back(CodedReply(digit, '0'));
    } else if (m == "ST" && n) {
        if (runs_[n - 1].State == TRunState::Idle) {
            out.push_back(CodedReply(digit, '0'));
            Start(n);
        } else {
            // A stop is answered as the end of the program, which returns the
            // coordinate to standby on the other side; or accepted, the end to follow.
            if (stopTime_) {
                RampDown(n, now);
                out.push_back(CodedReply(digit, '0'));
            } else {
                StopRun(n, now);
                out.push_back(CodedReply(digit, '4'));
            }
        }
    } else if (m == "ST") {
        bool anyActive = false;
        for (int c = 1; c <= 3; ++c) {
            if (runs_[c - 1].State != TRunState::Idle) {
                anyActive = true;
                StopRun(c, now);
                out.push_back(CodedReply(static_cast<char>('0' + c), '4'));
            }
        }
        if (!anyActive) {
            out.push_back(CodedReply(digit, '0'));
            bool anyProgram = false;
            for (int c = 1; c <= 3; ++c) {
                if (!programs_[c - 1].empty()) {
                    anyProgram = true;
                    Start(c);
                }
            }
            if (!anyProgram) {
                Start(1); // completes at once, so coordinate 1 does not look busy
            }
        }
    } else if (m == "PS" && n) {
        switch (runs_[n - 1].State) {
        case TRunState::Running:
            Pause(n, now);
            out.push_back(CodedReply(digit, '2'));
            break;
        case TRunState::Paused:
            Resume(n, now);
            out.push_back(CodedReply(digit, '8'));
            break;
        case TRunState::Idle:
            out.push_back(CodedReply(digit, '0'));
            break;
        }
    } else if (m == "PS") {
        const auto any = [&](TRunState s) {
            return std::any_of(runs_.begin(), runs_.end(),
                               [s](const TRun& r) { return r.State == s; });
        };
        const TRunState from = any(TRunState::Running)  ? TRunState::Running
                               : any(TRunState::Paused) ? TRunState::Paused
                                                        : TRunState::Idle;
        if (from == TRunState::Idle) {
            out.push_back(CodedReply(digit, '0'));
        }
        for (int c = 1; c <= 3 && from != TRunState::Idle; ++c) {
            if (runs_[c - 1].State != from) {
                continue;
            }
            if (from == TRunState::Running) {
                Pause(c, now);
            } else {
                Resume(c, now);
            }
            out.push_back(
                CodedReply(static_cast<char>('0' + c), from == TRunState::Running ? '2' : '8'));
        }
    } else if (m == "RD" || m == "RB") {
        out.push_back(CodedReply(digit, '0'));
        for (const TStoredCommand& c : m == "RD" ? programs_[n - 1] : buffer_) {
            out.push_back(c.ReadBackText() + "*");
        }
        out.push_back("ED*");
    } else if (m == "LB") {
        buffer_.clear();
        bufferCapture_ = true;
        out.push_back(CodedReply(digit, '0'));
    } else {
        // ED outside a recording, SB, settings and motions given directly: accepted.
        out.push_back(CodedReply(digit, '0'));
    }
    return out;
}

void TControllerModel::Start(int coordinate) {
    TRun& run = runs_[coordinate - 1];
    const long long position = run.Position;
    run = TRun{};
    run.Position = position;
    run.Code = programs_[coordinate - 1];
    run.State = TRunState::Running; // the first Advance steps it, also an empty program
}

void TControllerModel::StopRun(int coordinate, TClock::time_point now) {
    TRun& run = runs_[coordinate - 1];
    if (run.Timed && !run.Endless && run.MoveSteps != 0 && run.Length.count() > 0) {
        const TClock::duration done =
            run.State == TRunState::Paused ? run.Length - run.Remaining : now - run.Started;
        const double fraction =
            std::clamp(std::chrono::duration<double>(done) / run.Length, 0.0, 1.0);
        run.Position += static_cast<long long>(static_cast<double>(run.MoveSteps) * fraction);
    }
    const long long position = run.Position;
    run = TRun{};
    run.Position = position;
}

void TControllerModel::RampDown(int coordinate, TClock::time_point now) {
    StopRun(coordinate, now);
    TRun& run = runs_[coordinate - 1];
    run.State = TRunState::Running;
    run.Timed = true;
    run.Started = now;
    run.Length = *stopTime_;
    run.Due = now + *stopTime_;
}

void TControllerModel::Pause(int coordinate, TClock::time_point now) {
    TRun& run = runs_[coordinate - 1];
    run.Remaining = run.Timed && !run.Endless ? std::max(run.Due - now, TClock::duration::zero())
                                              : TClock::duration::zero();
    run.State = TRunState::Paused;
}

void TControllerModel::Resume(int coordinate, TClock::time_point now) {
    TRun& run = runs_[coordinate - 1];
    run.State = TRunState::Running;
    if (run.Timed) {
        run.Due = now + run.Remaining;
        run.Started = run.Due - run.Length;
    }
}

TClock::duration TControllerModel::Scaled(double seconds) const {
    const double s = std::min(seconds * timeScale_, 1e8); // keeps the count in range
    return std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(s));
}

bool TControllerModel::Step(int coordinate, TClock::time_point now, int& budget,
                            std::vector<std::string>& out) {
    TRun& run = runs_[coordinate - 1];
    TClock::time_point base = now;
    for (;;) {
        if (run.Timed) {
            if (run.Endless || now < run.Due) {
                return true;
            }
            // The next step starts when this one ended, not when we noticed.
            base = run.Due;
            run.Position += run.MoveSteps;
            run.MoveSteps = 0;
            run.Timed = false;
            ++run.Pc;
        }
        if (budget-- <= 0) {
            return false;
        }
        if (run.Pc >= run.Code.size()) {
            const long long position = run.Position;
            run = TRun{};
            run.Position = position;
            out.push_back(CodedReply(static_cast<char>('0' + coordinate), '4'));
            return true;
        }
        const TStoredCommand& cmd = run.Code[run.Pc];
        const std::string& m = cmd.Mnemonic;
        const long long p = cmd.Param.value_or(0);
        std::optional<TClock::duration> length;
        if (m == "MV" && !cmd.Param) {
            run.Timed = true;
            run.Endless = true; // permanent motion: until a stop
            run.Started = base;
            return true;
        } else if (m == "MV") {
            run.MoveSteps = run.Direction * p;
            length = Scaled(static_cast<double>(p) / static_cast<double>(run.Speed));
        } else if (m == "HM") {
            run.MoveSteps = -run.Position;
            length = Scaled(static_cast<double>(std::llabs(run.Position)) /
                            static_cast<double>(run.Speed));
        } else if (m == "SP") {
            length = Scaled(static_cast<double>(p) / 1000.0);
        } else if (m == "SD") {
            run.Speed = p;
        } else if (m == "DL") {
            run.Direction = 1;
        } else if (m == "DR") {
            run.Direction = -1;
        } else if (m == "RS") {
            run.Direction = -run.Direction;
        } else if (m == "LB") {
            // The buffer holds the block from here to its SB.
            buffer_.clear();
            for (std::size_t i = run.Pc + 1; i < run.Code.size() && run.Code[i].Mnemonic != "SB";
                 ++i) {
                buffer_.push_back(run.Code[i]);
            }
        } else if (m == "JP" || m == "SB") {
            // Jump back to just after the nearest LL (JP) or LB (SB) before this command,
            // p more times; JP without a label repeats from the start, SB without LB
            // repeats nothing.
            const char* mark = m == "JP" ? "LL" : "LB";
            std::optional<std::size_t> target;
            for (std::size_t i = run.Pc; i-- > 0;) {
                if (run.Code[i].Mnemonic == mark) {
                    target = i + 1;
                    break;
                }
            }
            if (!target && m == "JP") {
                target = 0;
            }
            auto it = run.Counters.find(run.Pc);
            const long long left = it == run.Counters.end() ? p : it->second;
            if (target && left > 0) {
                run.Counters[run.Pc] = left - 1;
                run.Pc = *target;
                continue;
            }
            run.Counters.erase(run.Pc); // rearmed for an enclosing loop
        }
        if (length) {
            run.Timed = true;
            run.Started = base;
            run.Length = *length;
            run.Due = base + *length;
            continue; // completes at once when the length is zero
        }
        ++run.Pc;
    }
}

std::vector<std::string> TControllerModel::Advance(TClock::time_point now) {
    std::vector<std::string> out;
    int budget = MaxStepsPerAdvance;
    for (int c = 1; c <= 3; ++c) {
        if (runs_[c - 1].State == TRunState::Running) {
            Step(c, now, budget, out);
        }
    }
    return out;
}

std::optional<TClock::time_point> TControllerModel::NextDeadline() const {
    std::optional<TClock::time_point> next;
    for (const TRun& run : runs_) {
        if (run.State != TRunState::Running || (run.Timed && run.Endless)) {
            continue;
        }
        const TClock::time_point due = run.Timed ? run.Due : TClock::time_point::min();
        if (!next || due < *next) {
            next = due;
        }
    }
    return next;
}

std::string TControllerModel::SaveMemory() const {
    // "R n", then one line per coordinate: "P n" and its commands as read back.
    std::string text = "R " + std::to_string(recording_) + "\n";
    for (int n = 1; n <= 3; ++n) {
        text += "P " + std::to_string(n);
        for (const TStoredCommand& cmd : programs_[n - 1])
            text += " " + (cmd.Param ? cmd.Mnemonic + std::to_string(*cmd.Param) : cmd.Mnemonic);
        text += "\n";
    }
    return text;
}

void TControllerModel::LoadMemory(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        int n = 0;
        if (!(words >> kind >> n) || n < 0 || n > 3)
            continue;
        if (kind == "R") {
            recording_ = n;
        } else if (kind == "P" && n > 0) {
            programs_[n - 1].clear();
            std::string word;
            TStoredCommand cmd;
            while (words >> word)
                if (Parse(word, cmd) == '0')
                    programs_[n - 1].push_back(cmd);
        }
    }
}

std::vector<TStoredCommand> TControllerModel::Program(int coordinate) const {
    return coordinate >= 1 && coordinate <= 3 ? programs_[coordinate - 1]
                                              : std::vector<TStoredCommand>{};
}

TRunState TControllerModel::RunState(int coordinate) const {
    return coordinate >= 1 && coordinate <= 3 ? runs_[coordinate - 1].State : TRunState::Idle;
}

long long TControllerModel::Position(int coordinate) const {
    return coordinate >= 1 && coordinate <= 3 ? runs_[coordinate - 1].Position : 0;
}

} // namespace zavsim
