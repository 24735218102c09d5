// Arbitrary bytes as a command file and its description file (the first byte splits
// the input between them) and checks that the list has one row per command line.

#include "fuzz_support.h"
#include "program-editing/command_files.h"
#include "state/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t cut = std::min<std::size_t>(data[0], size - 1);
    const std::string commands = zav::fuzz::Unscrambled(data + 1, cut);
    const std::string descriptions = zav::fuzz::Unscrambled(data + 1 + cut, size - 1 - cut);
    const auto rows = zav::CommandFileRows(commands, descriptions);
    zav::fuzz::Check(rows.size() == zav::SplitLines(commands).size());
    return 0;
}
