#include "serial/echo_check.h"

namespace zav {

namespace {
std::string WithoutStar(const std::string& reply) {
    return !reply.empty() && reply.back() == '*' ? reply.substr(0, reply.size() - 1) : reply;
}

// A read-back request: its echo is followed by the stored commands and "ED*".
bool ReadsBack(const std::string& request) {
    return request.rfind("RD", 0) == 0 || request == "RB";
}
} // namespace

bool TEchoCheck::Matches(const std::string& request, const std::string& echo) {
    return echo.size() >= request.size() && !request.empty() &&
           echo.compare(echo.size() - request.size(), request.size(), request) == 0;
}

void TEchoCheck::Reset() {
    std::lock_guard lock(mutex_);
    awaited_ = seen_ = readItems_ = false;
    request_.clear();
    echo_.clear();
    // missing_ stays: the echo of a line that timed out may come once the next send began.
    last_ = {};
}

void TEchoCheck::Expect(const std::string& request) {
    std::lock_guard lock(mutex_);
    awaited_ = true;
    seen_ = false;
    request_ = request;
    echo_.clear();
    last_ = {};
}

void TEchoCheck::Received(const std::string& reply) {
    std::lock_guard lock(mutex_);
    if (readItems_) {
        readItems_ = reply != "ED*";
        return;
    }
    if (!awaited_ || seen_)
        return;
    std::string echo = WithoutStar(reply);
    if (!missing_.empty() && !Matches(request_, echo) && Matches(missing_, echo)) {
        missing_.clear(); // the line before's, late
        return;
    }
    seen_ = true;
    echo_ = std::move(echo);
}

TEchoResult TEchoCheck::Take(bool accepted) {
    std::lock_guard lock(mutex_);
    if (!awaited_)
        return {};
    awaited_ = false;
    last_.Request = request_;
    last_.Echo = echo_;
    if (!seen_) {
        last_.Verdict = TEchoVerdict::Missing;
        missing_ = request_;
    } else {
        last_.Verdict = Matches(request_, echo_) ? TEchoVerdict::Match : TEchoVerdict::Mismatch;
        missing_.clear();
        // The controller sends the stored commands after the code of an accepted read.
        readItems_ = accepted && last_.Verdict == TEchoVerdict::Match && ReadsBack(request_);
    }
    return last_;
}

TEchoResult TEchoCheck::LastResult() const {
    std::lock_guard lock(mutex_);
    return last_;
}

} // namespace zav
