#pragma once
// A text field that the main thread writes and a worker thread reads.

#include <mutex>
#include <string>

namespace zav {

class TSharedText {
public:
    TSharedText() = default;
    TSharedText(const TSharedText&) = delete;
    TSharedText& operator=(const TSharedText&) = delete;
    TSharedText& operator=(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
        return *this;
    }
    std::string Get() const {
        std::lock_guard lock(mutex_);
        return text_;
    }
    // Appends more (unless the text would exceed limit) and tells whether needle now
    // stands in the appended part or just before it; only there can a new one appear.
    bool AppendAndFind(const std::string& more, const std::string& needle, std::size_t limit) {
        std::lock_guard lock(mutex_);
        if (text_.size() + more.size() > limit)
            return false;
        const std::size_t from =
            text_.size() >= needle.size() ? text_.size() - needle.size() + 1 : 0;
        text_ += more;
        return text_.find(needle, from) != std::string::npos;
    }
    friend bool operator==(const TSharedText& a, const std::string& b) { return a.Get() == b; }

private:
    mutable std::mutex mutex_;
    std::string text_; // guarded by mutex_
};

} // namespace zav
