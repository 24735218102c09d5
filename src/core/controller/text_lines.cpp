#include "controller/text_lines.h"

namespace zav {

void TTextLines::Changed() {
    if (OnChanged)
        OnChanged();
}

void TTextLines::Trim() {
    while (lines_.size() > maxLines_) {
        lines_.pop_front();
        ++dropped_;
    }
}

void TTextLines::Add(std::string line) {
    lines_.push_back(std::move(line));
    Trim();
    Changed();
}

void TTextLines::AppendReplies(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        if (lines_.empty())
            lines_.emplace_back();
        const std::size_t star = text.find('*', start);
        const std::size_t end = star == std::string::npos ? text.size() : star + 1;
        lines_.back().append(text, start, end - start);
        if (star != std::string::npos)
            lines_.emplace_back();
        start = end;
    }
    Trim();
    Changed();
}

void TTextLines::Clear() {
    dropped_ += lines_.size();
    lines_.clear();
    Changed();
}

} // namespace zav
