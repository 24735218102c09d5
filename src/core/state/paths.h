#pragma once
// Every file of the program lives beside its executable.

#include <string>

namespace zav {

// The executable's folder, ending in a path separator.
std::string AppDir();
// Tests and tools point the program at another folder.
void SetAppDir(std::string dir);

} // namespace zav
