#include "state/text_file.h"

#include <filesystem>

#include "state/codepage.h"
#include "state/encoded_stream.h"
#include "state/file_names.h"

namespace zav {

std::vector<std::string> SplitLines(std::string_view bytes, std::size_t maxLength) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.emplace_back(bytes.substr(start, std::min(end - start, maxLength)));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            end += 2;
        else if (end < n)
            end += 1;
        start = end;
    }
    return lines;
}

namespace {
// Cuts a UTF-8 line to maxLength characters.
void LimitUtf8(std::string& line, std::size_t maxLength) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80 && chars++ == maxLength) {
            line.resize(i);
            return;
        }
    }
}
} // namespace

std::string LoadBytes(const std::string& fileName, bool encode) {
    TEncodedStream stream(fileName, encode, TFileMode::OpenRead);
    std::string bytes;
    char block[64 * 1024];
    for (;;) {
        const std::size_t got = stream.Read(block, sizeof block);
        bytes.append(block, got);
        if (got < sizeof block)
            break;
    }
    return bytes;
}

std::vector<std::string> TextLines(std::string_view bytes) {
    auto lines = SplitLines(bytes);
    for (auto& line : lines)
        line = Cp1251ToUtf8(line);
    return lines;
}

std::vector<std::string> LanguageTextLines(std::string_view bytes) {
    if (!IsValidUtf8(bytes))
        return TextLines(bytes);
    auto lines = SplitLines(bytes, std::string::npos);
    for (auto& line : lines)
        LimitUtf8(line, MaxLineLength);
    return lines;
}

std::vector<std::string> LoadLines(const std::string& fileName, bool encode) {
    return TextLines(LoadBytes(fileName, encode));
}

std::vector<std::string> LoadLanguageLines(const std::string& fileName) {
    return LanguageTextLines(LoadBytes(fileName, false));
}

void SaveLines(const std::string& fileName, const std::vector<std::string>& lines, bool encode) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    SaveBytes(fileName, bytes, encode);
}

void SaveBytes(const std::string& fileName, std::string_view bytes, bool encode) {
    namespace fs = std::filesystem;
    // The rename below would replace a file the operator made read-only.
    std::error_code ec;
    const auto status = fs::status(FsPath(fileName), ec);
    if (!ec && fs::exists(status) &&
        (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        throw EFileStreamError("Cannot write file " + fileName + ": the file is read-only",
                               fileName, TFileFailure::ReadOnly, "");
    // Write beside the file and rename over it, so that a failed write or a power loss
    // never leaves a half-written settings, log or command-list file behind.
    const std::string temp = fileName + ".new";
    try {
        TEncodedStream stream(temp, encode, TFileMode::Create);
        stream.Write(bytes.data(), bytes.size());
        stream.Commit();
    } catch (const EFileStreamError& e) {
        fs::remove(FsPath(temp), ec);
        throw EFileStreamError("Cannot write file " + fileName + ": " + e.Reason(), fileName, e);
    }
    fs::rename(FsPath(temp), FsPath(fileName), ec);
    if (ec) {
        const std::error_code failed = ec;
        fs::remove(FsPath(temp), ec);
        throw EFileStreamError("Cannot write file " + fileName + ": " + failed.message(), fileName,
                               FileFailureOf(failed), failed.message());
    }
}

} // namespace zav
