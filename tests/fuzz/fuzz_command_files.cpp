// Loads arbitrary bytes as a command file (the first byte splits the input into the
// command and description files) and checks that the list matches the files' lines.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "program-editing/command_files.h"
#include "state/encoded_stream.h"
#include "state/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("zav-fuzz-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    if (size == 0)
        return 0;
    const std::size_t cut = std::min<std::size_t>(data[0], size - 1);
    const std::string commands(reinterpret_cast<const char*>(data) + 1, cut);
    const std::string descriptions(reinterpret_cast<const char*>(data) + 1 + cut, size - 1 - cut);
    const std::string file = (dir / "f.zav").string();
    std::ofstream(file, std::ios::binary) << commands;
    std::ofstream((dir / "f._zav").string(), std::ios::binary) << descriptions;
    const auto rows = zav::LoadCommandFiles(file);
    // The loader sees the bytes unscrambled.
    std::string plain = commands;
    for (char& c : plain)
        c = static_cast<char>(static_cast<unsigned char>(c) - zav::TEncodedStream::Key());
    if (rows.size() != zav::SplitLines(plain).size())
        std::abort();
    return 0;
}
