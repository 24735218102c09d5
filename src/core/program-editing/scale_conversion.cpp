#include "program-editing/scale_conversion.h"

#include <cmath>

#include "command-language/zav_commands.h"
#include "program-editing/command_list.h"
#include "state/common_datas.h"
#include "state/number_format.h"

namespace zav {

std::vector<std::size_t> TScaleConversion::Convert(TCommandList& list, double factor,
                                                   TCommonDatas& datas) {
    std::vector<std::size_t> unconverted;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string& command = list.Row(i).Command;
        const int index = TZavCommands::FindCommand(command);
        if (index < ciMV || index > ciAL || command.size() <= 2)
            continue;
        std::int32_t value;
        if (!TryParseInt(command.substr(2), value)) {
            unconverted.push_back(i);
            continue;
        }
        const std::int32_t steps = TZavCommands::ClampSteps(index, datas.RoundSteps(value, factor));
        list.SetCommand(i, command.substr(0, 2) + (index == ciAL && steps > 0 ? "+" : "") +
                               std::to_string(steps));
    }
    return unconverted;
}

bool TScaleConversion::ParseScale(const std::string& text, double& scale) {
    std::string local = text;
    for (char& c : local)
        if (c == '.' || c == ',')
            c = DecimalSeparator();
    double value;
    if (!TryParseFloat(local, value) || !std::isfinite(value) || value <= 0)
        return false;
    // The catalogue divides each step range by the scale and writes its ends as text:
    // both must stay finite normal numbers, or the range collapses to nothing.
    for (const double steps : {1.0, 2147483647.0})
        if (!std::isnormal(steps / value))
            return false;
    scale = value;
    return true;
}

} // namespace zav
