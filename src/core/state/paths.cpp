#include "state/paths.h"

#include <cstdio>
#include <filesystem>
#include <mutex>

#include "state/file_names.h"

namespace zav {

namespace {
std::mutex appDirMutex;
std::string appDir;  // guarded by appDirMutex
std::string dataDir; // guarded by appDirMutex; empty: AppDir()

std::string WithSeparator(std::string dir) {
    // The system's own separator: these folders appear in the operator's messages.
#ifdef _WIN32
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
        dir += '\\';
#else
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
#endif
    return dir;
}

} // namespace

std::string ExecutableDir() {
    std::error_code ec;
#ifdef _WIN32
    auto exe = std::filesystem::path(); // set by the GUI through SetAppDir
#else
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || exe.empty())
        return WithSeparator(Utf8Path(std::filesystem::current_path(ec)));
    return WithSeparator(Utf8Path(exe.parent_path()));
}

std::string ProgramDirOf(const std::string& exeDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path installed = (FsPath(exeDir) / ".." / "share" / "zav").lexically_normal();
    if (!fs::is_directory(FsPath(exeDir) / "lang", ec) && fs::is_directory(installed / "lang", ec))
        return WithSeparator(Utf8Path(installed));
    return WithSeparator(exeDir);
}

std::string AppDir() {
    std::lock_guard lock(appDirMutex);
    if (appDir.empty())
        appDir = ProgramDirOf(ExecutableDir());
    return appDir;
}

void SetAppDir(std::string dir) {
    std::lock_guard lock(appDirMutex);
    appDir = WithSeparator(std::move(dir));
}

std::string DataDir() {
    {
        std::lock_guard lock(appDirMutex);
        if (!dataDir.empty())
            return dataDir;
    }
    return AppDir();
}

void SetDataDir(std::string dir) {
    std::lock_guard lock(appDirMutex);
    dataDir = WithSeparator(std::move(dir));
}

bool CanWriteFolder(const std::string& dir) {
    namespace fs = std::filesystem;
    const fs::path probe = FsPath(dir) / ".zav-write-probe";
    std::FILE* f = OpenFile(Utf8Path(probe), "wb");
    if (!f)
        return false;
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

std::string PrepareDataDir(const std::string& appDir, const std::string& userDir,
                           const std::function<bool(const std::string&)>& canWrite) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (canWrite(appDir)) {
        for (const char* folder : {"Log", "Users", "ports"})
            fs::create_directories(FsPath(appDir) / folder, ec);
        return appDir;
    }
    const fs::path user = FsPath(userDir);
    for (const char* folder : {"Data", "Log", "Users", "ports"})
        fs::create_directories(user / folder, ec);
    if (userDir.empty() || !canWrite(Utf8Path(user / "Data")))
        return {};
    // The shipped defaults, once: what the operator has changed since is kept.
    for (const auto& entry : fs::directory_iterator(FsPath(appDir) / "Data", ec)) {
        const fs::path target = user / "Data" / entry.path().filename();
        if (entry.is_regular_file(ec) && !fs::exists(target, ec))
            fs::copy_file(entry.path(), target, ec);
    }
    return WithSeparator(userDir);
}

std::string PrepareDataDirOf(const std::string& exeDir, const std::string& userDir) {
    const std::string programDir = ProgramDirOf(exeDir);
    const bool installed = programDir != WithSeparator(exeDir);
    return PrepareDataDir(programDir, userDir, [&](const std::string& dir) {
        return !(installed && dir == programDir) && CanWriteFolder(dir);
    });
}

} // namespace zav
