#pragma once
// Sending from a chosen line of the list, or that line alone. A recording (LD n ... ED)
// goes to the controller whole or not at all: started in its middle the controller would
// store only its tail, and a line of it sent alone would run at once as a direct command.
// So such a choice turns into a question that offers the whole recording instead.

#include <optional>
#include <string>
#include <vector>

#include "controller/send_action.h"
#include "localisation/lang.h"

namespace zav {

enum class TLineSendKind { FromLine, LineOnly };

struct TLineSendPlan {
    TSendRange Range;     // what goes out once the operator agrees
    std::string Question; // empty: the choice goes out as it is, without a question
};

// What sending from (or only) line index of lines means. None for a line that is empty
// or past the end: nothing is sent for it.
std::optional<TLineSendPlan> PlanLineSend(const std::vector<std::string>& lines, std::size_t index,
                                          TLineSendKind kind, const TLang& lang);

// Replaces %1, %2, ... of text by args in order.
std::string FillIn(std::string text, const std::vector<std::string>& args);

} // namespace zav
