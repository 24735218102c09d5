#pragma once
// The program's folders. Language files live beside the executable; the files the
// program writes (Data/, Log/, Users/ and the port links ports/) live in the data
// folder, which is the executable's folder too unless that cannot be written (an
// installed program), in which case the window chooses the user's data folder.

#include <functional>
#include <string>

namespace zav {

// The executable's folder, ending in a path separator.
std::string AppDir();
// Tests and tools point the program at another folder.
void SetAppDir(std::string dir);

// The folder of Data/, Log/, Users/ and ports/, ending in a path separator: AppDir()
// unless SetDataDir chose another.
std::string DataDir();
void SetDataDir(std::string dir);

// Where the program keeps its files: appDir when canWrite says it can write there,
// else userDir, where the shipped Data/ files of appDir are copied on first use and
// Log/, Users/ and ports/ are made. Returns the folder chosen (empty when neither can
// be used: the program then runs with appDir and reports failures as they come).
std::string PrepareDataDir(const std::string& appDir, const std::string& userDir,
                           const std::function<bool(const std::string&)>& canWrite);
// Whether a file can be created in dir (tried, then removed).
bool CanWriteFolder(const std::string& dir);

} // namespace zav
