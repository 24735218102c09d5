#include "state/recent_files.h"

#include <algorithm>
#include <filesystem>

#include "state/file_names.h"

namespace zav {

namespace {
std::filesystem::path Normal(const std::string& name) {
    std::error_code ec;
    auto path = std::filesystem::absolute(FsPath(name), ec);
    if (ec)
        path = FsPath(name);
    return path.lexically_normal();
}
} // namespace

bool SameFile(const std::string& a, const std::string& b) {
    return Normal(a) == Normal(b);
}

void TRecentFiles::Add(const std::string& fileName) {
    // A name the session file could not hold on one line is not kept.
    if (fileName.empty() || fileName.find_first_of("\r\n") != std::string::npos)
        return;
    Remove(fileName);
    files_.insert(files_.begin(), Utf8Path(Normal(fileName)));
    if (files_.size() > Capacity)
        files_.resize(Capacity);
}

void TRecentFiles::Remove(const std::string& fileName) {
    std::erase_if(files_, [&](const std::string& f) { return SameFile(f, fileName); });
}

void TRecentFiles::Assign(const std::vector<std::string>& files) {
    files_.clear();
    // Added oldest first, so that each lands in front of the older ones.
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        Add(*it);
}

} // namespace zav
