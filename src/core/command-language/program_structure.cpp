#include "command-language/program_structure.h"

#include <cctype>
#include <charconv>

namespace zav {

TProgramLine ParseProgramLine(std::string_view line) {
    TProgramLine result;
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
        line.remove_prefix(1);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.remove_suffix(1);
    if (line.size() < 2)
        return result;
    for (std::size_t i = 0; i < 2; ++i)
        result.Mnemonic += static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
    std::string_view rest = line.substr(2);
    result.HasText = !rest.empty();
    if (!rest.empty() && rest.front() == '+')
        rest.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc() && end == rest.data() + rest.size() && !rest.empty())
        result.Value = value;
    return result;
}

std::vector<TRecordingSpan> FindRecordings(const std::vector<std::string>& lines) {
    std::vector<TRecordingSpan> spans;
    std::optional<TRecordingSpan> open;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TProgramLine line = ParseProgramLine(lines[i]);
        if (line.Mnemonic == "LD") {
            if (open) {
                open->End = i - 1;
                spans.push_back(*open);
            }
            open = TRecordingSpan{i, i, 0, false};
            if (line.Value && *line.Value >= 1 && *line.Value <= 3)
                open->Coordinate = static_cast<int>(*line.Value);
        } else if (line.Mnemonic == "ED" && open) {
            open->End = i;
            open->Closed = true;
            spans.push_back(*open);
            open.reset();
        }
    }
    if (open) {
        open->End = lines.empty() ? 0 : lines.size() - 1;
        spans.push_back(*open);
    }
    return spans;
}

std::optional<TRecordingSpan> RecordingAt(const std::vector<std::string>& lines,
                                          std::size_t index) {
    for (const TRecordingSpan& span : FindRecordings(lines))
        if (span.Contains(index))
            return span;
    return std::nullopt;
}

} // namespace zav
