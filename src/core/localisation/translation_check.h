#pragma once
// The translators' check of a lang folder: every language that lang.lng names has its
// three section files, each holding every entry the program reads, in order, in a
// valid encoding, with the blanks that separate texts from appended values, and
// nothing the program does not read.

#include <string>
#include <vector>

namespace zav {

// One line per problem found, naming the file and the entry; empty when all is well.
std::vector<std::string> CheckLanguages(const std::string& langFolder);

} // namespace zav
