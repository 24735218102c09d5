#include "program-editing/command_list.h"

#include <algorithm>

#include "command-language/zav_commands.h"

namespace zav {

std::vector<std::string> TCommandList::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(rows_.size());
    for (const auto& row : rows_)
        lines.push_back(row->Command);
    return lines;
}

std::vector<TCommandRow> TCommandList::Rows() const {
    std::vector<TCommandRow> rows;
    rows.reserve(rows_.size());
    for (const auto& row : rows_)
        rows.push_back(*row);
    return rows;
}

void TCommandList::Append(std::string command, std::string description) {
    if (observer_)
        observer_->BeginInsert(rows_.size(), 1);
    rows_.push_back(
        std::make_unique<TCommandRow>(TCommandRow{std::move(command), std::move(description)}));
    if (observer_)
        observer_->EndInsert();
}

void TCommandList::Remove(std::size_t index) {
    if (index >= rows_.size())
        return;
    if (observer_)
        observer_->BeginRemove(index, 1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    if (observer_)
        observer_->EndRemove();
}

void TCommandList::Move(std::size_t from, std::size_t to) {
    if (from >= rows_.size() || to >= rows_.size() || from == to)
        return;
    if (observer_)
        observer_->BeginMove(from, to);
    const auto first = rows_.begin();
    if (from < to)
        std::rotate(first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    else
        std::rotate(first + static_cast<std::ptrdiff_t>(to),
                    first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    if (observer_)
        observer_->EndMove();
}

void TCommandList::Clear() {
    Assign({});
}

void TCommandList::Assign(std::vector<TCommandRow> rows) {
    if (observer_)
        observer_->BeginReset();
    rows_.clear();
    rows_.reserve(rows.size());
    for (TCommandRow& row : rows)
        rows_.push_back(std::make_unique<TCommandRow>(std::move(row)));
    if (observer_)
        observer_->EndReset();
}

void TCommandList::SetLines(const std::vector<std::string>& lines) {
    std::vector<TCommandRow> rows;
    rows.reserve(lines.size());
    for (const std::string& line : lines)
        rows.push_back({line, {}});
    Assign(std::move(rows));
}

void TCommandList::SetCommand(std::size_t index, std::string command) {
    if (index >= rows_.size())
        return;
    rows_[index]->Command = std::move(command);
    if (observer_)
        observer_->RowChanged(index);
}

std::string TCommandList::Named(const std::vector<std::size_t>& indexes) const {
    constexpr std::size_t Shown = 10;
    std::string text;
    for (std::size_t i = 0; i < indexes.size() && i < Shown; ++i)
        text +=
            (i ? ", " : "") + std::to_string(indexes[i] + 1) + " (" + Row(indexes[i]).Command + ")";
    if (indexes.size() > Shown)
        text += ", ...";
    return text;
}

std::vector<std::size_t> OutOfRangeLines(const TCommandList& list) {
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < list.Count(); ++i)
        if (TZavCommands::OutOfRange(list.Row(i).Command))
            lines.push_back(i);
    return lines;
}

} // namespace zav
