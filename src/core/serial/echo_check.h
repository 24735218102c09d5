#pragma once
// The controller echoes every request before its coded reply. For the line in flight this
// keeps the first text after its request that is not a coded reply, and tells whether it
// is the request: a different echo means the controller received, and has already carried
// out or stored, another command.
//
// Not an echo of the line in flight: text that comes while no line awaits one (after its
// coded reply, outside an exchange), the items of a read-back up to its "ED*", and the
// late echo of the line before, whose echo had not come.

#include <mutex>
#include <string>

namespace zav {

enum class TEchoVerdict {
    NotAwaited, // no line awaited an echo
    Match,
    Mismatch,
    Missing, // the line's coded reply came without an echo before it
};

struct TEchoResult {
    TEchoVerdict Verdict = TEchoVerdict::NotAwaited;
    std::string Request; // the line as sent, without "*"
    std::string Echo;    // what came back, without "*"; empty when none came
};

class TEchoCheck {
public:
    // Whether echo (without "*") repeats request. Bytes before the request count as noise
    // on the way back: every command begins with its two letters, so a request with bytes
    // in front of it is no command the controller would carry out.
    static bool Matches(const std::string& request, const std::string& echo);

    // A new exchange, or its end: nothing is awaited; only a line whose echo never came
    // is remembered, for its late echo.
    void Reset();
    // Before request (without "*") is written: its echo is awaited from now on.
    void Expect(const std::string& request);
    // A received reply that is not a coded reply, with its "*".
    void Received(const std::string& reply);
    // The coded reply of the line in flight came (accepted: with code 0): the verdict on
    // its echo. It stays the last result until the next Expect.
    TEchoResult Take(bool accepted = true);
    TEchoResult LastResult() const;

private:
    mutable std::mutex mutex_;
    // Guarded by mutex_:
    bool awaited_ = false; // a line waits for its echo
    bool seen_ = false;    // and it has come
    std::string request_;
    std::string echo_;
    std::string missing_;    // the line before, whose echo never came
    bool readItems_ = false; // a read-back answers until its "ED*"
    TEchoResult last_;
};

} // namespace zav
