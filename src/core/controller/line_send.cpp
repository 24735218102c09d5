#include "controller/line_send.h"

#include "command-language/program_structure.h"

namespace zav {

std::string FillIn(std::string text, const std::vector<std::string>& args) {
    for (std::size_t i = args.size(); i-- > 0;) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + args[i].size())) {
            text.replace(at, mark.size(), args[i]);
        }
    }
    return text;
}

std::optional<TLineSendPlan> PlanLineSend(const std::vector<std::string>& lines, std::size_t index,
                                          TLineSendKind kind, const TLang& lang) {
    if (index >= lines.size() || lines[index].empty())
        return std::nullopt;
    const auto number = [](std::size_t i) { return std::to_string(i + 1); };
    TLineSendPlan plan;
    const std::optional<TRecordingSpan> recording = RecordingAt(lines, index);
    if (kind == TLineSendKind::FromLine) {
        plan.Range = {index, lines.size()};
        // From its LD on, the recording goes whole: nothing to ask.
        if (recording && recording->Begin != index) {
            plan.Range.First = recording->Begin;
            plan.Question = FillIn(lang.Message(msgFromLineInRecording),
                                   {number(index), number(recording->Begin)});
        }
        return plan;
    }
    plan.Range = {index, index + 1};
    if (recording) {
        plan.Range = {recording->Begin, recording->End + 1};
        plan.Question = FillIn(lang.Message(msgLineOnlyInRecording),
                               {number(index), number(recording->Begin), number(recording->End)});
    }
    return plan;
}

} // namespace zav
