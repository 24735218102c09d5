#include "program-editing/scale_conversion.h"

#include <cmath>

#include "command-language/zav_commands.h"
#include "program-editing/command_list.h"
#include "state/common_datas.h"
#include "state/number_format.h"

namespace zav {

std::vector<std::size_t> TScaleConversion::Convert(TCommandList& list, double newScale,
                                                   double oldScale, TCommonDatas& datas) {
    std::vector<std::size_t> unconverted;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string& command = list.Row(i).Command;
        const int index = TZavCommands::FindCommand(command);
        if (index < ciMV || index > ciAL || command.size() <= 2)
            continue;
        std::int64_t value;
        // Not clipped: a change of scale and its correction give back the same list. A
        // value the new scale puts outside its command's range is marked instead.
        const auto steps =
            TryParseInt64(command.substr(2), value)
                ? datas.RoundStepsExact(static_cast<double>(value), newScale, oldScale)
                : std::nullopt;
        if (!steps) {
            unconverted.push_back(i);
            continue;
        }
        list.SetCommand(i, command.substr(0, 2) + (index == ciAL && *steps > 0 ? "+" : "") +
                               std::to_string(*steps));
    }
    return unconverted;
}

bool TScaleConversion::ParseScale(const std::string& text, double& scale) {
    std::string local = text;
    for (char& c : local)
        if (c == '.' || c == ',')
            c = DecimalSeparator();
    double value;
    if (!TryParseFloat(local, value) || !TCommonDatas::ScaleAccepted(value))
        return false;
    scale = value;
    return true;
}

} // namespace zav
