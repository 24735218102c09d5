#pragma once
// A command list: rows of a command text (MV1000, ST1: what is sent and stored) and
// the description the operator sees in the grid (as it was typed, in the units of the
// time). One sequence of rows, so the two sides can never fall out of step. The grid's
// header row and its trailing empty row are the view's: row k of the list is grid row
// k + 1.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "command-language/command_sink.h"

namespace zav {

struct TCommandRow {
    std::string Command;
    std::string Description;
    friend bool operator==(const TCommandRow&, const TCommandRow&) = default;
};

class TCommandList final : public ICommandSink {
public:
    // A view that follows the list change by change, so that a long list is never
    // redrawn whole (a table model's begin/end pairs map onto these).
    class IObserver {
    public:
        virtual ~IObserver() = default;
        virtual void BeginInsert(std::size_t first, std::size_t count) = 0;
        virtual void EndInsert() = 0;
        virtual void BeginRemove(std::size_t first, std::size_t count) = 0;
        virtual void EndRemove() = 0;
        // The row at from ends up at index to.
        virtual void BeginMove(std::size_t from, std::size_t to) = 0;
        virtual void EndMove() = 0;
        virtual void BeginReset() = 0;
        virtual void EndReset() = 0;
        virtual void RowChanged(std::size_t index) = 0;
    };

    std::size_t Count() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    const TCommandRow& Row(std::size_t index) const { return *rows_.at(index); }
    // A copy of every row.
    std::vector<TCommandRow> Rows() const;
    // The command texts, in order: what an exchange sends and a file stores.
    std::vector<std::string> Lines() const;

    void Append(std::string command, std::string description = {}) override;
    void Remove(std::size_t index);
    // Moves the row at from so that it ends at index to; out-of-range indexes do nothing.
    void Move(std::size_t from, std::size_t to);
    void Clear();
    void Assign(std::vector<TCommandRow> rows);
    // Commands without descriptions (lists that are sent, never shown).
    void SetLines(const std::vector<std::string>& lines);
    void SetCommand(std::size_t index, std::string command);

    void SetObserver(IObserver* observer) { observer_ = observer; }

    // Lines named for the operator, numbered from 1 as in the grid: "3 (MV100000000),
    // 4 (SD5000000)"; at most ten, then ", ...".
    std::string Named(const std::vector<std::size_t>& indexes) const;

private:
    // Rows are held by pointer so that dragging or removing one in a long list moves
    // pointers, not strings.
    std::vector<std::unique_ptr<TCommandRow>> rows_;
    IObserver* observer_ = nullptr;
};

// The lines of list whose value the controller does not take (TZavCommands::OutOfRange),
// first to last.
std::vector<std::size_t> OutOfRangeLines(const TCommandList& list);

} // namespace zav
