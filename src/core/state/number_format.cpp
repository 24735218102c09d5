#include "state/number_format.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zav {

namespace {
std::atomic<char> separator{0};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

char SystemDecimalSeparator() {
#ifdef _WIN32
    // The C library's locale is "C" there whatever the user chose; ask the system.
    wchar_t text[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) > 0 && text[0] > 0 &&
        text[0] < 0x80)
        return static_cast<char>(text[0]);
    return '.'; // none, or one a single byte cannot hold
#else
    try {
        return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
        return '.'; // an unknown locale in the environment
    }
#endif
}

char DecimalSeparator() {
    char sep = separator.load();
    if (sep == 0) {
        sep = SystemDecimalSeparator();
        separator.store(sep);
    }
    return sep;
}

void SetDecimalSeparator(char sep) {
    separator.store(sep);
}

std::string FormatGeneral(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // 15 significant digits: d.dddddddddddddde±x
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string s(buf);
    const std::size_t e = s.find('e');
    const int exponent = std::atoi(s.c_str() + e + 1);
    const bool negative = s[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (s[i] != '.')
            digits += s[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const char sep = DecimalSeparator();
    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent <= 14) {
        if (exponent < 0) {
            out += '0';
            out += sep;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const auto intDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits);
                out += sep;
                out += digits.substr(intDigits);
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

bool TryParseFloat(const std::string& text, double& value) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    if (b == e)
        return false;
    const char sep = DecimalSeparator();
    // Rebuild in the C locale's form, refusing anything strtod would take that the
    // operator's format does not (hex, inf, nan, the other separator).
    std::string c;
    std::size_t i = b;
    if (text[i] == '+' || text[i] == '-')
        c += text[i++];
    bool mantissaDigits = false, seenSep = false;
    for (; i < e; ++i) {
        const char ch = text[i];
        if (ch >= '0' && ch <= '9') {
            c += ch;
            mantissaDigits = true;
        } else if (ch == sep && !seenSep) {
            c += '.';
            seenSep = true;
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return false;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-'))
            c += text[i++];
        bool expDigits = false;
        for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i) {
            c += text[i];
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != e)
        return false;
    char* end = nullptr;
    const double v = std::strtod(c.c_str(), &end);
    if (end != c.c_str() + c.size() || std::isinf(v) || std::isnan(v))
        return false;
    value = v;
    return true;
}

bool TryParseInt64(const std::string& text, std::int64_t& value) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    // Counted as a negative number, whose range is the larger one.
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch < '0' || ch > '9')
            return false;
        const int digit = ch - '0';
        if (v < (lowest + digit) / 10)
            return false;
        v = v * 10 - digit;
    }
    if (!negative && v == lowest)
        return false;
    value = negative ? v : -v;
    return true;
}

bool TryParseInt(const std::string& text, std::int32_t& value) {
    std::int64_t v;
    if (!TryParseInt64(text, v) || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

} // namespace zav
