#pragma once
// What the program remembers between runs for the operator's convenience: the recent
// command-list files and the main window's place. It is a file of the program's own
// (Data/session.dat, plain UTF-8 text), apart from the settings files, so that older
// programs never meet it; a missing, damaged or foreign file gives the defaults.

#include <optional>
#include <string>
#include <vector>

#include "state/recent_files.h"

namespace zav {

struct TRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const TRect&) const = default;
};

struct TWindowPlacement {
    TRect Bounds; // the window's place when neither maximised nor minimised
    bool Maximized = false;
    bool operator==(const TWindowPlacement&) const = default;
};

class TSessionFile {
public:
    // The data folder's Data/session.dat.
    static std::string DefaultFileName();

    explicit TSessionFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // Reads the file; whatever cannot be read leaves the defaults. Never throws.
    void Load();
    // Writes the whole file anew. Throws EFileStreamError.
    void Save() const;

    TRecentFiles Recent;
    std::optional<TWindowPlacement> Window;

private:
    std::string fileName_;
};

// Where a window saved at bounds goes among the screens present (their work areas, the
// primary first): onto the screen it overlaps most, else the primary, shrunk to fit it
// and moved fully inside, so that one saved on a screen now gone comes back visible.
TRect PlaceOnScreens(const TRect& bounds, const std::vector<TRect>& screens);

} // namespace zav
