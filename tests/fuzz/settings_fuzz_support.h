#pragma once
// What the settings file fuzzers share: a folder of their own, the input written as
// the file, and a check that aborts.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "state/paths.h"

namespace zav::fuzz {

inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Writes the input as Data/<name> of the fuzzer's folder, which becomes the program's.
inline void WriteSettingsFile(const char* name, const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() /
                       ("zav-fuzz-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "Data");
        SetAppDir(d.string());
        return d;
    }();
    std::ofstream(dir / "Data" / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace zav::fuzz
