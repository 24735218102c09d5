#include "settings/settings_table.h"

#include <algorithm>
#include <cctype>

#include "state/codepage.h"
#include "state/encoded_stream.h"
#include "state/number_format.h"
#include "state/text_file.h"

namespace zav {

namespace {
// The longest settings file holds 19 lines of at most MaxLineLength characters.
constexpr std::size_t MaxSettingsBytes = 20 * (MaxLineLength + 2);

std::string Trimmed(const std::string& text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto b = std::find_if_not(text.begin(), text.end(), blank);
    auto e = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return b < e ? std::string(b, e) : std::string();
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}
} // namespace

std::string FormatBoolean(bool value) {
    return value ? "-1" : "0";
}

bool ParseBoolean(const std::string& text, bool& value) {
    const std::string t = Trimmed(text);
    if (EqualsIgnoringCase(t, "true") || EqualsIgnoringCase(t, "false")) {
        value = EqualsIgnoringCase(t, "true");
        return true;
    }
    double number = 0;
    if (!ParseAnySeparator(t, number))
        return false;
    value = number != 0;
    return true;
}

bool ParseInteger(const std::string& text, std::int32_t& value) {
    return TryParseInt(Trimmed(text), value);
}

bool ParseAnySeparator(const std::string& text, double& value) {
    std::string t = text;
    const char separator = DecimalSeparator();
    for (char& c : t)
        if (c == '.' || c == ',')
            c = separator;
    return TryParseFloat(t, value);
}

std::vector<std::string> SettingsLines(std::string_view decodedBytes) {
    return TextLines(decodedBytes.substr(0, MaxSettingsBytes));
}

std::vector<std::string> LoadSettingsLines(const std::string& fileName) {
    TEncodedStream stream(fileName, true, TFileMode::OpenRead);
    // Block by block up to the cap: a settings file is a few dozen bytes.
    std::string bytes;
    constexpr std::size_t Block = 512;
    while (bytes.size() < MaxSettingsBytes) {
        const std::size_t have = bytes.size();
        const std::size_t want = std::min(Block, MaxSettingsBytes - have);
        bytes.resize(have + want);
        const std::size_t got = stream.Read(bytes.data() + have, want);
        bytes.resize(have + got);
        if (got < want)
            break;
    }
    return SettingsLines(bytes);
}

} // namespace zav
