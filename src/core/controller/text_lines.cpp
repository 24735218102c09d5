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
        if (lines_.empty() || lines_.back().size() >= MaxLineLength)
            lines_.emplace_back();
        std::string& last = lines_.back();
        const std::size_t star = text.find('*', start);
        std::size_t end = star == std::string::npos ? text.size() : star + 1;
        if (end - start > MaxLineLength - last.size()) {
            end = start + (MaxLineLength - last.size());
            // Not inside a UTF-8 character, unless the line holds nothing else.
            std::size_t cut = end;
            while (cut > start && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                --cut;
            if (cut > start || !last.empty())
                end = cut;
        }
        last.append(text, start, end - start);
        if (end > start && text[end - 1] == '*')
            lines_.emplace_back();
        else if (end == start)
            lines_.emplace_back(); // a character that does not fit: it starts the next line
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
