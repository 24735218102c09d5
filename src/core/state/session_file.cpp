#include "state/session_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "state/file_names.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

namespace {
constexpr const char* Header = "zav session 1";
// Anything larger is not ours: it is not read at all.
constexpr std::streamoff MaxFileSize = 256 * 1024;
constexpr int MaxExtent = 100000;

std::optional<TWindowPlacement> ParseWindow(const std::string& values) {
    std::istringstream in(values);
    TWindowPlacement w;
    int maximized = -1;
    std::string rest;
    if (!(in >> w.Bounds.X >> w.Bounds.Y >> w.Bounds.Width >> w.Bounds.Height >> maximized) ||
        (in >> rest) || maximized < 0 || maximized > 1)
        return std::nullopt;
    const TRect& b = w.Bounds;
    if (b.Width <= 0 || b.Height <= 0 || b.Width > MaxExtent || b.Height > MaxExtent ||
        std::abs(b.X) > MaxExtent || std::abs(b.Y) > MaxExtent)
        return std::nullopt;
    w.Maximized = maximized == 1;
    return w;
}

long long Overlap(const TRect& a, const TRect& b) {
    const long long w = std::min(a.X + a.Width, b.X + b.Width) - std::max(a.X, b.X);
    const long long h = std::min(a.Y + a.Height, b.Y + b.Height) - std::max(a.Y, b.Y);
    return w > 0 && h > 0 ? w * h : 0;
}
} // namespace

std::string TSessionFile::DefaultFileName() {
    return DataDir() + "Data/session.dat";
}

void TSessionFile::Load() {
    Recent.Assign({});
    Window.reset();
    std::ifstream in(FsPath(fileName_), std::ios::binary);
    if (!in)
        return;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > MaxFileSize)
        return;
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size))
        return;
    const auto lines = SplitLines(bytes);
    if (lines.empty() || lines[0] != Header)
        return;
    std::vector<std::string> recent;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        // Unknown keys are a later program's: skipped.
        if (key == "window")
            Window = ParseWindow(value);
        else if (key == "recent" && !value.empty())
            recent.push_back(value);
    }
    Recent.Assign(recent);
}

void TSessionFile::Save() const {
    std::string text = std::string(Header) + "\n";
    if (Window) {
        const TRect& b = Window->Bounds;
        text += "window " + std::to_string(b.X) + " " + std::to_string(b.Y) + " " +
                std::to_string(b.Width) + " " + std::to_string(b.Height) + " " +
                (Window->Maximized ? "1" : "0") + "\n";
    }
    for (const std::string& file : Recent.Files())
        text += "recent " + file + "\n";
    // A data folder without Data/ yet still keeps the session.
    std::error_code ec;
    const auto folder = FsPath(fileName_).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    SaveBytes(fileName_, text, false);
}

TRect PlaceOnScreens(const TRect& bounds, const std::vector<TRect>& screens) {
    if (screens.empty())
        return bounds;
    const TRect* target = &screens.front();
    long long best = 0;
    for (const TRect& screen : screens) {
        const long long overlap = Overlap(bounds, screen);
        if (overlap > best) {
            best = overlap;
            target = &screen;
        }
    }
    TRect placed = bounds;
    placed.Width = std::min(bounds.Width, target->Width);
    placed.Height = std::min(bounds.Height, target->Height);
    placed.X = std::clamp(bounds.X, target->X, target->X + target->Width - placed.Width);
    placed.Y = std::clamp(bounds.Y, target->Y, target->Y + target->Height - placed.Height);
    return placed;
}

} // namespace zav
