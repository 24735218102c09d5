// zav_langcheck: the translators' check of a lang folder.
//   zav_langcheck [lang folder]     (default: lang beside the executable)
// Prints one line per problem and exits with 1 if there is any.

#include <cstdio>
#include <string>

#include "localisation/translation_check.h"
#include "state/paths.h"

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: zav_langcheck [lang folder]\n");
        return 2;
    }
    const std::string folder = argc == 2 ? argv[1] : zav::AppDir() + "lang";
    const auto problems = zav::CheckLanguages(folder);
    for (const auto& problem : problems)
        std::printf("%s/%s\n", folder.c_str(), problem.c_str());
    if (problems.empty())
        std::printf("%s: every language is complete\n", folder.c_str());
    return problems.empty() ? 0 : 1;
}
