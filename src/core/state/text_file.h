#pragma once
// Text files as lists of lines, read and written through TEncodedStream. A line ends at
// CR LF, a lone CR or a lone LF, and keeps at most MaxLineLength characters; lines are
// written each followed by CR LF. Text is UTF-8 in memory and 8-bit on disk.

#include <string>
#include <string_view>
#include <vector>

namespace zav {

inline constexpr std::size_t MaxLineLength = 4096;

// Splits text into lines; a final line without its end still counts, an empty text
// has no lines. Longer lines are cut to maxLength bytes.
std::vector<std::string> SplitLines(std::string_view bytes, std::size_t maxLength = MaxLineLength);

// Reads a whole file's bytes, unscrambled when encode is set. Throws EFileStreamError.
std::string LoadBytes(const std::string& fileName, bool encode);
// The lines of 8-bit text, as UTF-8.
std::vector<std::string> TextLines(std::string_view bytes);
// The lines of a language file's text, which may be UTF-8 or 8-bit.
std::vector<std::string> LanguageTextLines(std::string_view bytes);

// Reads a whole file of 8-bit text. Throws EFileStreamError.
std::vector<std::string> LoadLines(const std::string& fileName, bool encode);
// The same for a language file, which may also be UTF-8.
std::vector<std::string> LoadLanguageLines(const std::string& fileName);
// Creates (or empties) the file and writes the lines. Throws EFileStreamError.
void SaveLines(const std::string& fileName, const std::vector<std::string>& lines, bool encode);
// Replaces the file with these bytes as they stand, written beside it and renamed over
// it. Throws EFileStreamError.
void SaveBytes(const std::string& fileName, std::string_view bytes, bool encode);

} // namespace zav
