#pragma once
// The command-list files opened or saved last, most recent first: what the File menu's
// "Recent files" shows.

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

class TRecentFiles {
public:
    static constexpr std::size_t Capacity = 8;

    // Puts the file first; an entry naming the same file moves up rather than repeats,
    // and the oldest falls off beyond Capacity.
    void Add(const std::string& fileName);
    void Remove(const std::string& fileName);
    // Replaces the list, most recent first, under the same rules (a stored list may hold
    // anything).
    void Assign(const std::vector<std::string>& files);
    const std::vector<std::string>& Files() const { return files_; }

private:
    std::vector<std::string> files_;
};

// Whether two names denote the same file: both made absolute and normal ("a/../b",
// "./b"), without asking the disk, so a file that is gone still matches its entry.
bool SameFile(const std::string& a, const std::string& b);

} // namespace zav
