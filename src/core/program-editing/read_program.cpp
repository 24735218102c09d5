#include "program-editing/read_program.h"

#include "command-language/zav_commands.h"
#include "program-editing/command_list.h"
#include "state/common_datas.h"
#include "state/number_format.h"

namespace zav {

namespace {
// The controller's own ranges, in steps.
bool InStepRange(int index, std::int32_t v, const CommandEntry& entry) {
    switch (index) {
    case ciMV:
        return v >= 1 && v <= 10000000;
    case ciSD:
        return v >= 1 && v <= 10000;
    case ciSS:
        return v >= 0 && v <= 2000;
    case ciAL:
        return v >= -1000 && v <= 1000;
    case ciSC:
        return v >= 1;
    default: {
        std::int32_t min, max;
        return TryParseInt(entry.MinText, min) && TryParseInt(entry.MaxText, max) && v >= min &&
               v <= max;
    }
    }
}

struct TParser {
    const TZavCommands& commands;
    const TCommonDatas& datas;
    std::vector<TCommandRow> rows;
    TReadResult result;

    void Item(const std::string& item) {
        // The mnemonic is the first two characters, the parameter what follows them.
        const std::string mnemonic = item.substr(0, std::min<std::size_t>(2, item.size()));
        std::string parameter = item.size() > 2 ? item.substr(2) : "no";
        const int index = TZavCommands::FindCommand(mnemonic);
        if (index == ciED || index == ciRB || index == ciRD)
            return;
        const CommandEntry& entry = commands.Commands(index);
        if (index == ciUnknown) {
            rows.push_back({"", entry.Description});
            result.HasWrongCommand = true;
            return;
        }
        if (parameter == "no") {
            rows.push_back({mnemonic, entry.Description});
            return;
        }
        std::int32_t v;
        if (!TryParseInt(parameter, v)) {
            result.Refused.push_back(item);
            return;
        }
        // The controller's form of a negative acceleration.
        if (index == ciAL && v > 32768)
            v = -(v - 32768);
        if (!InStepRange(index, v, entry)) {
            result.Refused.push_back(item);
            return;
        }
        const bool motion = index >= ciMV && index <= ciAL;
        const std::string shown = motion ? FormatGeneral(v / datas.Scale) : std::to_string(v);
        rows.push_back({mnemonic + (index == ciAL && v > 0 ? "+" : "") + std::to_string(v),
                        entry.Description + shown + entry.ParamLabel});
    }
};
} // namespace

TReadResult TReadProgramParser::Parse(const std::vector<std::string>& lines,
                                      const TZavCommands& commands, const TCommonDatas& datas,
                                      TCommandList& list) {
    TParser parser{commands, datas, {}, {}};
    std::string accumulator;
    for (const std::string& line : lines) {
        for (const char c : line) {
            if (c == '*') {
                if (!accumulator.empty())
                    parser.Item(accumulator);
                accumulator.clear();
            } else {
                accumulator += c;
            }
        }
    }
    list.Assign(std::move(parser.rows));
    return std::move(parser.result);
}

} // namespace zav
