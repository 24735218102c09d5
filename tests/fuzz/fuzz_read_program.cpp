// Parses arbitrary read-back text and checks the read list's invariants: every listed
// command is a known mnemonic with a whole-number value, or the empty text of an
// unknown one, which is then flagged.
// libFuzzer flags: -detect_leaks=0
// (the controller kept across inputs holds what they leave, which is no leak)

#include "fuzz_support.h"
#include "program-editing/read_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zav::TController& controller = zav::fuzz::Controller();
    // Lines of MemoChan: split at newline bytes.
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    zav::TCommandList list;
    const auto result = zav::TReadProgramParser::Parse(lines, controller.Commands(),
                                                       controller.CommonDatas(), list);
    bool unknown = false;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const zav::TCommandRow& row = list.Row(i);
        if (row.Command.empty()) {
            unknown = true;
            continue;
        }
        const int index = zav::TZavCommands::FindCommand(row.Command);
        if (index == zav::ciUnknown || index == zav::ciED || index == zav::ciRB ||
            index == zav::ciRD || row.Command.find('*') != std::string::npos)
            std::abort();
    }
    zav::fuzz::Check(unknown == result.HasWrongCommand);
    return 0;
}
