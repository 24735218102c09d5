// zavctl check: the program check of a command file, printed for scripts. Each part of
// the report is a section of its own, so that more can follow the warnings.

#include <filesystem>
#include <fstream>

#include "command-language/zav_commands.h"
#include "ctl_session.h"
#include "motion/motion_model.h"
#include "motion/preview_svg.h"
#include "program-check/program_check.h"
#include "program-editing/command_files.h"
#include "state/encoded_stream.h"
#include "state/file_names.h"
#include "state/text_file.h"

namespace zavctl {

namespace {
// A line as it can be shown on a terminal: a damaged file may hold any byte.
std::string Printable(const std::string& line) {
    constexpr std::size_t Shown = 24;
    std::string text;
    for (char c : line.substr(0, Shown))
        text += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    return line.size() > Shown ? text + "..." : text;
}

void PrintWarnings(std::ostream& out, const zav::TLang& lang, const std::vector<std::string>& lines,
                   const std::vector<zav::TProgramWarning>& warnings) {
    for (const zav::TProgramWarning& w : warnings)
        out << lang.Message(zav::msgCtlLine) << w.Line + 1 << " (" << Printable(lines[w.Line])
            << "): " << zav::WarningText(lang, w.Kind) << '\n';
    out << zav::WarningCountText(lang, warnings.size()) << '\n';
}

// Each recorded coordinate's end position and estimated duration, then the list's.
void PrintDurations(std::ostream& out, const zav::TLang& lang, const zav::TMotionPreview& preview) {
    const zav::TPreviewSvgOptions texts = zav::PreviewTexts(lang);
    for (const zav::TCoordinateMotion& c : preview.Coordinates)
        out << zav::CoordinateSummary(c, texts) << '\n';
    if (preview.Coordinates.empty()) {
        out << texts.Nothing << '\n';
        return;
    }
    out << zav::ListSummary(preview, texts) << '\n';
    if (preview.Cut)
        out << texts.Cut << preview.CutAtLine + 1 << '\n';
}
} // namespace

TExitStatus TCtlSession::ReadCommandLines(const std::string& fileName,
                                          std::vector<std::string>& lines) {
    const zav::TLang& lang = controller_->Lang();
    if (!zav::HasCommandFileExtension(fileName)) {
        views_.ShowMessage(lang.Message(zav::msgBadFileName) + ": " + fileName);
        return exUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(zav::FsPath(fileName), ec)) {
        views_.ShowMessage(lang.Message(zav::msgFileNotFound) + fileName +
                           lang.Message(zav::msgFileNotFoundEnd));
        return exUsage;
    }
    try {
        lines = zav::LoadLines(fileName, true);
    } catch (const zav::EFileStreamError& e) {
        views_.ShowMessage(lang.Message(zav::msgFileError) + lang.FileErrorText(e));
        return exUsage;
    }
    // A line that is no command makes the file no list the program would send: the
    // first one is named, as loading the file in the program reports one.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || zav::TZavCommands::FindCommand(lines[i]) == zav::ciUnknown) {
            views_.ShowMessage(lang.Message(zav::msgWrongCommandInList));
            views_.AddLine(lang.Message(zav::msgCtlLine) + std::to_string(i + 1) + ": " +
                           Printable(lines[i]));
            return exUsage;
        }
    }
    return exOk;
}

TExitStatus TCtlSession::Check(const std::string& fileName, const std::string& svg) {
    std::vector<std::string> lines;
    if (const TExitStatus status = ReadCommandLines(fileName, lines); status != exOk)
        return status;
    const zav::TLang& lang = controller_->Lang();
    const std::vector<zav::TProgramWarning> warnings = zav::CheckProgram(lines);
    PrintWarnings(io_.Out, lang, lines, warnings);
    const zav::TMotionPreview preview = zav::BuildMotionPreview(lines);
    PrintDurations(io_.Out, lang, preview);
    io_.Out << std::flush;
    if (!svg.empty()) {
        // Written whole or not at all: a half picture left behind would look like a result.
        const std::string picture = zav::PreviewSvg(preview, zav::PreviewTexts(lang));
        const std::filesystem::path path = zav::FsPath(svg);
        std::filesystem::path temporary = path;
        temporary += ".part";
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << picture;
        file.close();
        std::error_code ec;
        if (!file || (std::filesystem::rename(temporary, path, ec), ec)) {
            std::filesystem::remove(temporary, ec);
            views_.ShowMessage(lang.Message(zav::msgFileError) + svg);
            return exUsage;
        }
    }
    return warnings.empty() ? exOk : exWarnings;
}

} // namespace zavctl
