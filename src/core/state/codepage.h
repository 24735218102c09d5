#pragma once
// The program's 8-bit code page (Windows-1251). Core text is UTF-8; files and the wire
// are 8-bit and are converted here, at the boundary.

#include <string>
#include <string_view>

namespace zav {

// 8-bit bytes to UTF-8. Every byte maps to one character, so nothing is lost.
std::string Cp1251ToUtf8(std::string_view bytes);
// UTF-8 to 8-bit bytes; characters the code page lacks, and malformed UTF-8, become '?'.
std::string Utf8ToCp1251(std::string_view text);
bool IsValidUtf8(std::string_view text);

} // namespace zav
