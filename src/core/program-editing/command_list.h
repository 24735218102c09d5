#pragma once
// A command list: the hidden memo of command texts (MV1000, ST1) and the grid of their
// descriptions, kept row for row by the editor. The two sides are separate sequences
// because some callers fill only the memo. The grid's header row and its trailing
// empty row are not stored: grid row k (k >= 1) is Descriptions()[k - 1].

#include <functional>
#include <string>
#include <vector>

namespace zav {

class TCommandList {
public:
    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<std::string>& Descriptions() const { return descriptions_; }
    // Row count of the grid view: header + descriptions + the trailing empty row.
    int GridRowCount() const { return static_cast<int>(descriptions_.size()) + 2; }

    void AppendLine(std::string line);
    void AppendDescription(std::string description);
    void SetLines(std::vector<std::string> lines);
    void SetDescriptions(std::vector<std::string> descriptions);
    void ClearLines();
    void ClearDescriptions();
    void Clear();

    // Called after every change, for the views that show the list.
    std::function<void()> OnChanged;

private:
    void Changed();
    std::vector<std::string> lines_;
    std::vector<std::string> descriptions_;
};

} // namespace zav
