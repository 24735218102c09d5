#include "program-editing/command_files.h"

#include <filesystem>

#include "command-language/zav_commands.h"
#include "localisation/lang.h"
#include "program-editing/command_editor.h"
#include "state/codepage.h"
#include "state/encoded_stream.h"
#include "state/file_names.h"
#include "state/log_dispatch.h"
#include "state/paths.h"
#include "state/session_file.h"
#include "state/text_file.h"

namespace zav {

namespace fs = std::filesystem;

namespace {
constexpr const char* Extension = ".zav";

// The reason part of a stream error ("Cannot create file X: Permission denied").
std::string Reason(const EFileStreamError& e) {
    const std::string what = e.what();
    const std::size_t colon = what.rfind(": ");
    return colon == std::string::npos ? "write failed" : what.substr(colon + 2);
}

void WriteLines(const std::string& fileName, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    TEncodedStream stream(fileName, true, TFileMode::Create);
    stream.Write(bytes.data(), bytes.size());
}
} // namespace

bool HasCommandFileExtension(const std::string& fileName) {
    return Utf8Path(FsPath(fileName).extension()) == Extension;
}

std::string DescriptionFileName(const std::string& commandFile) {
    return Utf8Path(FsPath(commandFile).replace_extension("._zav"));
}

std::string ProposeSaveName(const std::string& folder) {
    for (unsigned long k = 1;; ++k) {
        const std::string name = "Zav-Prog-" + std::to_string(k) + Extension;
        std::error_code ec;
        if (!fs::exists(FsPath(folder) / name, ec))
            return name;
    }
}

void SaveCommandFiles(const std::string& fileName, const std::vector<TCommandRow>& rows) {
    std::vector<std::string> commands, descriptions;
    commands.reserve(rows.size());
    descriptions.reserve(rows.size());
    for (const auto& row : rows) {
        commands.push_back(row.Command);
        descriptions.push_back(row.Description);
    }
    const std::string descriptionFile = DescriptionFileName(fileName);
    const std::string tempCommands = fileName + ".new";
    const std::string tempDescriptions = descriptionFile + ".new";
    auto removeTemps = [&] {
        std::error_code ignored;
        fs::remove(FsPath(tempCommands), ignored);
        fs::remove(FsPath(tempDescriptions), ignored);
    };
    try {
        WriteLines(tempCommands, commands);
        WriteLines(tempDescriptions, descriptions);
    } catch (const EFileStreamError& e) {
        removeTemps();
        throw EFileStreamError("Cannot write file " + fileName + ": " + Reason(e), fileName, e);
    }
    std::error_code ec;
    fs::rename(FsPath(tempDescriptions), FsPath(descriptionFile), ec);
    if (!ec)
        fs::rename(FsPath(tempCommands), FsPath(fileName), ec);
    if (ec) {
        removeTemps();
        throw EFileStreamError("Cannot write file " + fileName + ": " + ec.message(), fileName,
                               FileFailureOf(ec), ec.message());
    }
}

std::vector<TCommandRow> LoadCommandFiles(const std::string& fileName) {
    const std::string commands = LoadBytes(fileName, true);
    return CommandFileRows(commands, LoadBytes(DescriptionFileName(fileName), true));
}

std::vector<TCommandRow> CommandFileRows(std::string_view commandBytes,
                                         std::string_view descriptionBytes) {
    std::vector<std::string> commands = TextLines(commandBytes);
    std::vector<std::string> descriptions = TextLines(descriptionBytes);
    std::vector<TCommandRow> rows(commands.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Command = std::move(commands[i]);
        if (i < descriptions.size())
            rows[i].Description = std::move(descriptions[i]);
    }
    return rows;
}

std::string TCommandFiles::UsersFolder() {
    return DataDir() + "Users";
}

void TCommandFiles::mmFileSaveClick() {
    if (!dialogs_)
        return;
    for (;;) {
        const std::string folder = UsersFolder();
        const auto name = dialogs_->ChooseSaveFile(folder, ProposeSaveName(folder));
        if (!name)
            return;
        if (HasCommandFileExtension(*name)) {
            SaveToFile(*name);
            return;
        }
        context_.Log.ShowMessage(context_.Lang.Message(msgBadFileName));
    }
}

void TCommandFiles::mmFileOpenClick() {
    if (!dialogs_)
        return;
    for (;;) {
        const auto name = dialogs_->ChooseOpenFile(UsersFolder(), "*.zav");
        if (!name)
            return;
        if (HasCommandFileExtension(*name)) {
            LoadFromFile(*name);
            return;
        }
        context_.Log.ShowMessage(context_.Lang.Message(msgBadFileName));
    }
}

bool TCommandFiles::SaveToFile(const std::string& fileName) {
    try {
        SaveCommandFiles(fileName, context_.MemoSend.Rows());
        Remember(fileName);
        return true;
    } catch (const EFileStreamError& e) {
        context_.Log.ShowMessage(context_.Lang.Message(msgFileError) +
                                 context_.Lang.FileErrorText(e));
        return false;
    }
}

bool TCommandFiles::LoadFromFile(const std::string& fileName) {
    const std::string descriptionFile = DescriptionFileName(fileName);
    std::error_code ec;
    if (!fs::is_regular_file(FsPath(descriptionFile), ec)) {
        const TLang& lang = context_.Lang;
        context_.Log.ShowMessage(lang.Message(msgFileNotFound) + descriptionFile +
                                 lang.Message(msgFileNotFoundEnd));
        return false;
    }
    std::vector<TCommandRow> rows;
    try {
        rows = LoadCommandFiles(fileName);
    } catch (const EFileStreamError& e) {
        context_.Log.ShowMessage(context_.Lang.Message(msgFileError) +
                                 context_.Lang.FileErrorText(e));
        return false;
    }
    // One line in the log however many lines are wrong: a damaged file of a million
    // lines must not flood it.
    std::size_t firstWrong = rows.size();
    for (std::size_t i = 0; i < rows.size() && firstWrong == rows.size(); ++i)
        if (rows[i].Command.empty() || TZavCommands::FindCommand(rows[i].Command) == ciUnknown)
            firstWrong = i;
    context_.MemoSend.Assign(std::move(rows));
    const bool wrong = firstWrong < context_.MemoSend.Count();
    editor_.SetListHasWrongCommand(wrong);
    if (wrong)
        context_.Log.Log(context_.Lang.Message(msgWrongCommandInList), true);
    Remember(fileName);
    return true;
}

std::vector<TRecentFile> TCommandFiles::RecentFiles() const {
    std::vector<TRecentFile> files;
    for (const std::string& name : session_.Recent.Files()) {
        std::error_code ec;
        files.push_back({name, fs::is_regular_file(FsPath(name), ec)});
    }
    return files;
}

bool TCommandFiles::OpenRecentFile(const std::string& fileName) {
    std::error_code ec;
    if (!fs::is_regular_file(FsPath(fileName), ec)) {
        session_.Recent.Remove(fileName);
        SaveSession();
        context_.Log.ShowMessage(context_.Lang.Message(msgRecentFileGone) + fileName);
        return false;
    }
    return LoadFromFile(fileName);
}

void TCommandFiles::Remember(const std::string& fileName) {
    session_.Recent.Add(fileName);
    SaveSession();
}

void TCommandFiles::SaveSession() {
    try {
        session_.Save();
    } catch (const EFileStreamError& e) {
        context_.Log.Log(context_.Lang.Message(msgSessionNotSaved) + context_.Lang.FileErrorText(e),
                         true);
    }
}

} // namespace zav
