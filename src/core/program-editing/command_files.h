#pragma once
// Command-list files: a saved list is a pair, the command file (name.zav, the lines
// that are sent) and the description file beside it (name._zav, what the grid shows),
// each a scrambled 8-bit text file with CR LF line ends. The File menu's Save and Load
// live here; the window supplies the file dialogs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program-editing/command_list.h"
#include "program-editing/editing_context.h"

namespace zav {

class TCommandEditor;
class TSessionFile;

// The platform's file dialogs: the chosen full name, or nothing when cancelled.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual std::optional<std::string> ChooseOpenFile(const std::string& folder,
                                                      const std::string& initialName) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const std::string& folder,
                                                      const std::string& initialName) = 0;
};

// The name's extension is exactly ".zav" (case matters).
bool HasCommandFileExtension(const std::string& fileName);
// The companion of a command file: its extension replaced by "._zav".
std::string DescriptionFileName(const std::string& commandFile);
// The first of Zav-Prog-1.zav, Zav-Prog-2.zav, ... that does not exist in folder.
std::string ProposeSaveName(const std::string& folder);

// Writes both files beside temporary names first and renames them over the old pair,
// so a failure leaves the old pair whole. Throws EFileStreamError naming the file.
void SaveCommandFiles(const std::string& fileName, const std::vector<TCommandRow>& rows);
// Reads both files before anything changes: rows of the command file with the
// description file's lines (empty where it has fewer). Throws EFileStreamError.
std::vector<TCommandRow> LoadCommandFiles(const std::string& fileName);
// The rows of the two files' unscrambled bytes.
std::vector<TCommandRow> CommandFileRows(std::string_view commandBytes,
                                         std::string_view descriptionBytes);

struct TRecentFile {
    std::string Name;
    bool Exists = false;
};

class TCommandFiles {
public:
    TCommandFiles(TEditingContext context, TCommandEditor& editor, TSessionFile& session)
        : context_(context), editor_(editor), session_(session) {}
    void AttachDialogs(IFileDialogs* dialogs) { dialogs_ = dialogs; }

    // Program folder + "Users".
    static std::string UsersFolder();

    void mmFileSaveClick();
    void mmFileOpenClick();
    // What follows the dialogs, for a chosen name; false when nothing was written or
    // loaded (the operator has been told why).
    bool SaveToFile(const std::string& fileName);
    bool LoadFromFile(const std::string& fileName);

    // The files opened or saved last, most recent first, and whether each is still there.
    std::vector<TRecentFile> RecentFiles() const;
    // A file chosen in "Recent files": loaded as Open loads it; one that is gone is
    // reported and dropped from the list.
    bool OpenRecentFile(const std::string& fileName);

private:
    // Puts the file at the top of the recent files and stores the list.
    void Remember(const std::string& fileName);
    void SaveSession();

    TEditingContext context_;
    TCommandEditor& editor_;
    TSessionFile& session_;
    IFileDialogs* dialogs_ = nullptr;
};

} // namespace zav
