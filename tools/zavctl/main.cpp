// zavctl: the command-line companion of the program, for scripts and production lines.
// It reads the program's settings from the same data folder and talks to the
// controller through the same core.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

#include "ctl_session.h"
#include "state/file_names.h"
#include "state/paths.h"

namespace {

#ifndef _WIN32
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
#endif

// Where the installed program keeps its files when it cannot write beside itself.
std::string UserDataDir() {
#ifdef _WIN32
    // In UTF-8, as the core takes every file name, whatever the user's name is made of.
    const wchar_t* appData = _wgetenv(L"APPDATA");
    return appData == nullptr || *appData == 0
               ? ""
               : zav::Utf8Path(std::filesystem::path(appData) / "zav");
#else
    const std::string xdg = Environment("XDG_DATA_HOME");
    if (!xdg.empty())
        return xdg + "/zav";
    const std::string home = Environment("HOME");
    return home.empty() ? "" : home + "/.local/share/zav";
#endif
}

// The arguments in UTF-8. On Windows argv is in the ANSI code page, which cannot hold
// every file name, so the wide command line is taken instead.
std::vector<std::string> Arguments(int argc, char* argv[]) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(zav::Utf8Path(std::filesystem::path(wide[i])));
        LocalFree(wide);
        return args;
    }
#endif
    return {argv + 1, argv + argc};
}

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    // The core finds its language files beside the executable or in ../share/zav.
    std::string exeDir = zav::ExecutableDir();
#ifdef _WIN32
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        exeDir = zav::Utf8Path(std::filesystem::path(exe).parent_path());
#endif
    zav::SetAppDir(zav::ProgramDirOf(exeDir));
    const std::string dataDir = zav::PrepareDataDirOf(exeDir, UserDataDir());
    if (!dataDir.empty())
        zav::SetDataDir(dataDir);

    const std::vector<std::string> args = Arguments(argc, argv);
    zavctl::TCtlIo io{std::cout, std::cerr, StderrIsTerminal()};
    return zavctl::CtlMain(args, io);
}
