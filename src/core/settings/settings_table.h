#pragma once
// What the settings files share: one value a line, each file described by one table of
// line rules that both the reader and the writer walk, and the texts of the values.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zav {

// One line of a settings file: how it is read into the values and written from them.
// Present, when given, decides from the values read so far whether the line is there.
// An Added line came after the first version of the file: files written before it end
// without it, and its value then keeps what it held.
// TakeDefault, when given, handles a line that Read refused: for a value that converts
// but lies outside what the program accepts it sets the value's default and returns
// true, so that the reading goes on; for text that does not convert it returns false.
template <class TValues> struct TLineRule {
    const char* Name;
    bool (*Read)(const std::string& text, TValues& values);
    std::string (*Write)(const TValues& values);
    bool (*Present)(const TValues& values) = nullptr;
    bool Added = false;
    bool (*TakeDefault)(const std::string& text, TValues& values) = nullptr;
};

// Reads the lines in table order into values and stops at the first line that is
// missing (unless Added) or cannot be converted; values read before it stay read. A
// value out of range takes its default, and its line's index goes into refused. Lines
// beyond the table (a later version's) are ignored. Returns false when it stopped early.
template <class TValues, class TTable>
bool ReadSettingsLines(const TTable& table, const std::vector<std::string>& lines, TValues& values,
                       std::vector<std::size_t>* refused = nullptr) {
    std::size_t next = 0;
    for (const TLineRule<TValues>& rule : table) {
        if (rule.Present && !rule.Present(values))
            continue;
        if (next >= lines.size() && rule.Added)
            continue;
        if (next >= lines.size())
            return false;
        if (!rule.Read(lines[next], values)) {
            if (!rule.TakeDefault || !rule.TakeDefault(lines[next], values))
                return false;
            if (refused)
                refused->push_back(next);
        }
        ++next;
    }
    return true;
}

template <class TValues, class TTable>
std::vector<std::string> WriteSettingsLines(const TTable& table, const TValues& values) {
    std::vector<std::string> lines;
    for (const TLineRule<TValues>& rule : table)
        if (!rule.Present || rule.Present(values))
            lines.push_back(rule.Write(values));
    return lines;
}

// Booleans are written -1 and 0 and read as any number (non-zero is true) or the
// words True and False in any case.
std::string FormatBoolean(bool value);
bool ParseBoolean(const std::string& text, bool& value);
// A whole number within 32 bits.
bool ParseInteger(const std::string& text, std::int32_t& value);
// A decimal number written with either "." or "," as its separator.
bool ParseAnySeparator(const std::string& text, double& value);

// Reads a settings file as lines; only its first bytes are looked at, so a huge file of
// junk costs no more than a damaged one. Throws EFileStreamError.
std::vector<std::string> LoadSettingsLines(const std::string& fileName);
// The lines of a settings file's unscrambled bytes, as its loading reads them.
std::vector<std::string> SettingsLines(std::string_view decodedBytes);

// Called with the file's name when a settings file is missing or damaged.
using TReportDamaged = std::function<void(const std::string& fileName)>;
// Called with the file's name and its lines (index and text) whose values were out of
// range and replaced by their defaults.
using TReportDefaults = std::function<void(
    const std::string& fileName, const std::vector<std::pair<std::size_t, std::string>>& lines)>;

} // namespace zav
