// Writes the settings files of a fresh install (Data/prp.dat, Data/erp.dat) with the
// program's own writers, so that the shipped files always match what it reads.
// Usage: zav_write_defaults <Data folder>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "settings/error_settings_file.h"
#include "settings/program_settings_file.h"
#include "state/text_file.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zav_write_defaults <Data folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path data(argv[1]);
        std::filesystem::create_directories(data);
        zav::SaveLines((data / "prp.dat").string(), zav::TProgramSettingsFile::Lines({}), true);
        zav::SaveLines((data / "erp.dat").string(), zav::TErrorSettingsFile::Lines({}), true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zav_write_defaults: %s\n", e.what());
        return 1;
    }
    return 0;
}
