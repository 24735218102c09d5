#pragma once
// File names are UTF-8 in the core. On Windows the narrow file calls and a path built
// from a plain std::string take the ANSI code page, which cannot name every folder
// (Cyrillic letters on an English system), so names go through the wide calls there.

#include <cstdio>
#include <filesystem>
#include <string>

namespace zav {

// The path named by a UTF-8 text, and back.
std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

// std::fopen of a UTF-8 name.
std::FILE* OpenFile(const std::string& utf8, const char* mode);

} // namespace zav
