#pragma once
// A list of text lines shown by a window (the "Loading:" memo, the "Response:" list).
// Views subscribe to OnChanged; the model keeps at most MaxLines lines so that a long
// run cannot grow it without bound.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace zav {

class TTextLines {
public:
    static constexpr std::size_t DefaultMaxLines = 20000;
    // A reply is a few characters; received text without "*" goes on on a new line after
    // this many bytes, so that no line, the open last one included, grows without bound.
    static constexpr std::size_t MaxLineLength = 256;
    explicit TTextLines(std::size_t maxLines = DefaultMaxLines) : maxLines_(maxLines) {}

    const std::deque<std::string>& Lines() const { return lines_; }
    std::size_t Count() const { return lines_.size(); }
    // Lines removed from the front (by the limit or by Clear) since the list was made,
    // so that a view can follow the list without redrawing all of it.
    std::uint64_t Dropped() const { return dropped_; }
    bool Empty() const { return lines_.empty(); }

    void Add(std::string line);
    // Received text: each character goes to the last line, and a "*" opens a new line,
    // so each reply takes one line and the list ends with an open one. A line full at
    // MaxLineLength is closed as well.
    void AppendReplies(const std::string& text);
    void Clear();

    std::function<void()> OnChanged;

private:
    void Trim();
    void Changed();
    std::size_t maxLines_;
    std::deque<std::string> lines_;
    std::uint64_t dropped_ = 0;
};

} // namespace zav
