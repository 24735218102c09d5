#include "state/paths.h"

#include <filesystem>
#include <mutex>

namespace zav {

namespace {
std::mutex appDirMutex;
std::string appDir; // guarded by appDirMutex

std::string WithSeparator(std::string dir) {
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
        dir += '/';
    return dir;
}

std::string ExecutableDir() {
    std::error_code ec;
#ifdef _WIN32
    auto exe = std::filesystem::path(); // set by the GUI through SetAppDir
#else
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || exe.empty())
        return WithSeparator(std::filesystem::current_path(ec).string());
    return WithSeparator(exe.parent_path().string());
}
} // namespace

std::string AppDir() {
    std::lock_guard lock(appDirMutex);
    if (appDir.empty())
        appDir = ExecutableDir();
    return appDir;
}

void SetAppDir(std::string dir) {
    std::lock_guard lock(appDirMutex);
    appDir = WithSeparator(std::move(dir));
}

} // namespace zav
