#include "localisation/translation_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "localisation/lang.h"
#include "state/codepage.h"
#include "state/text_file.h"

namespace zav {

namespace {
namespace fs = std::filesystem;

struct TSection {
    std::string Key;
    // Entry k is read by the program when Used[k]; a number below Used.size() that is
    // not read must still have its line, empty, to keep the later lines in place.
    std::vector<bool> Used;
    std::vector<std::string> BuiltIn; // empty where there is no built-in text
};

std::vector<TSection> Sections() {
    TSection f1{"f1", std::vector<bool>(TLang::InitialFormTexts, true), TLang::BuiltInFormTexts()};
    // Entry 26 is read by no dialog but holds its place.
    TSection addf{"addf", std::vector<bool>(TLang::DialogTextCount + 1, true), {}};
    TSection msg{"msg", {}, TLang::BuiltInMessages()};
    for (std::size_t k = 0; k < msg.BuiltIn.size(); ++k)
        msg.Used.push_back(k <= 86 || !msg.BuiltIn[k].empty());
    return {f1, addf, msg};
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool ReadBytes(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// Text files in UTF-8 or Windows-1251 without control characters.
void CheckEncoding(const std::string& name, const std::string& bytes,
                   std::vector<std::string>& problems) {
    const bool utf8 = IsValidUtf8(bytes);
    int line = 0;
    for (unsigned char b : bytes) {
        if (b == '\n')
            ++line;
        const bool control = b < 0x20 && b != '\r' && b != '\n' && b != '\t';
        if (control || (!utf8 && b == 0x98)) {
            problems.push_back(name + ": line " + std::to_string(line) +
                               " holds a byte that is no text character in UTF-8 or "
                               "Windows-1251 (code " +
                               std::to_string(b) + ")");
            return;
        }
    }
}

void CheckSection(const fs::path& folder, const std::string& language, const TSection& section,
                  std::vector<std::string>& problems) {
    const std::string name = language + "/" + language + section.Key + ".lng";
    const fs::path file = folder / language / (language + section.Key + ".lng");
    std::string bytes;
    if (!fs::is_regular_file(file) || !ReadBytes(file, bytes)) {
        problems.push_back(name + ": missing or unreadable");
        return;
    }
    CheckEncoding(name, bytes, problems);
    const bool utf8 = IsValidUtf8(bytes);
    for (const auto& raw : SplitLines(bytes, std::string::npos))
        if ((utf8 ? CharacterCount(raw) : raw.size()) > MaxLineLength) {
            problems.push_back(name + ": a line is longer than " + std::to_string(MaxLineLength) +
                               " characters and would be cut");
            break;
        }
    const std::vector<std::string> lines = LoadLanguageLines(file.string());
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::string where = name + ": line " + std::to_string(k);
        std::string text = lines[k];
        int number = 0;
        try {
            number = TLang::ParseLineNumber(text);
        } catch (const EConvertError&) {
            problems.push_back(where + ": the number before \"}\" is no integer; the program "
                                       "stops reading the file there");
            return;
        }
        if (number != static_cast<int>(k)) {
            problems.push_back(where +
                               (number == 0 ? " holds no entry number"
                                            : " carries number " + std::to_string(number)) +
                               "; entries must be numbered 1, 2, 3... without gaps");
            continue;
        }
        const bool inRange = k < section.Used.size();
        const std::string builtIn = k < section.BuiltIn.size() ? section.BuiltIn[k] : "";
        if (!inRange || (!section.Used[k] && !text.empty())) {
            problems.push_back(where + ": entry " + std::to_string(k) +
                               " is not used by the program" +
                               (inRange ? " (leave its line as {" + std::to_string(k) + "})" : ""));
            continue;
        }
        if (!section.Used[k])
            continue;
        if (text.find_first_not_of(' ') == std::string::npos) {
            problems.push_back(where + ": entry " + std::to_string(k) + " has no text");
            continue;
        }
        // Messages are joined to values and to each other: keep their outer blanks.
        if (section.Key != "msg" || builtIn.empty())
            continue;
        const std::string plain =
            builtIn.substr(0, builtIn.find('*')) + builtIn.substr(builtIn.find('*') + 1);
        if (!plain.empty() && plain.front() == ' ' && text.front() != ' ')
            problems.push_back(where + ": message " + std::to_string(k) +
                               " must begin with a blank, as " + Quoted(builtIn) + " does");
        if (!plain.empty() && plain.back() == ' ' && text.back() != ' ')
            problems.push_back(where + ": message " + std::to_string(k) +
                               " must end with a blank, as " + Quoted(builtIn) + " does");
        // An opening quote at the end is closed by what the program appends.
        const bool opensQuote = std::count(plain.begin(), plain.end(), '"') % 2 == 1;
        if (!plain.empty() && plain.back() == '"' && opensQuote && text.back() != '"')
            problems.push_back(where + ": message " + std::to_string(k) +
                               " must end with a double quote, as " + Quoted(builtIn) + " does");
    }
    for (std::size_t k = std::max<std::size_t>(lines.size(), 1); k < section.Used.size(); ++k) {
        const std::string builtIn = k < section.BuiltIn.size() ? section.BuiltIn[k] : "";
        problems.push_back(name + ": entry " + std::to_string(k) + " is missing" +
                           (builtIn.empty() ? "" : " (built-in text " + Quoted(builtIn) + ")"));
    }
}
} // namespace

std::vector<std::string> CheckLanguages(const std::string& langFolder) {
    const fs::path folder(langFolder);
    std::vector<std::string> problems;
    std::string bytes;
    if (!ReadBytes(folder / "lang.lng", bytes)) {
        problems.push_back("lang.lng: missing or unreadable");
        return problems;
    }
    CheckEncoding("lang.lng", bytes, problems);
    const std::vector<TSection> sections = Sections();
    for (const auto& language : LoadLanguageLines((folder / "lang.lng").string())) {
        if (language.empty())
            continue;
        if (language.find_first_of("/\\") != std::string::npos || language == "." ||
            language == ".." || language.find_first_of(" \t") != std::string::npos) {
            problems.push_back("lang.lng: " + Quoted(language) +
                               " is no folder name inside lang (no blanks, slashes or dots)");
            continue;
        }
        for (const auto& section : sections)
            CheckSection(folder, language, section, problems);
    }
    return problems;
}

} // namespace zav
