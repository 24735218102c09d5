#pragma once
// Numbers as the operator reads and types them: the general floating-point form with
// 15 significant digits and the user's decimal separator.

#include <cstdint>
#include <string>

namespace zav {

// The decimal separator of the user's locale, unless a test has set one.
char DecimalSeparator();
void SetDecimalSeparator(char separator);
// What the user's locale says now (Windows: the regional settings; elsewhere the
// environment's LC_NUMERIC), '.' when it names none that fits one byte.
char SystemDecimalSeparator();

// No thousands separators, no trailing zeros, no separator for whole values; fixed
// notation while 1e-5 <= |value| and the integer part has at most 15 digits, else
// mantissa "E" exponent (1E-6, 1.5E20).
std::string FormatGeneral(double value);

// A decimal number with the user's separator; blanks around it are allowed.
bool TryParseFloat(const std::string& text, double& value);
// A whole decimal number within 32 bits; leading blanks and a sign are allowed.
bool TryParseInt(const std::string& text, std::int32_t& value);
// The same within 64 bits.
bool TryParseInt64(const std::string& text, std::int64_t& value);

} // namespace zav
