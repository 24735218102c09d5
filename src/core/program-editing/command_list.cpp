#include "program-editing/command_list.h"

namespace zav {

void TCommandList::Changed() {
    if (OnChanged)
        OnChanged();
}

void TCommandList::AppendLine(std::string line) {
    lines_.push_back(std::move(line));
    Changed();
}

void TCommandList::AppendDescription(std::string description) {
    descriptions_.push_back(std::move(description));
    Changed();
}

void TCommandList::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed();
}

void TCommandList::SetDescriptions(std::vector<std::string> descriptions) {
    descriptions_ = std::move(descriptions);
    Changed();
}

void TCommandList::ClearLines() {
    lines_.clear();
    Changed();
}

void TCommandList::ClearDescriptions() {
    descriptions_.clear();
    Changed();
}

void TCommandList::Clear() {
    lines_.clear();
    descriptions_.clear();
    Changed();
}

} // namespace zav
