#pragma once
// The program's folders. Language files and the shipped Data/ live in the program's
// folder: beside the executable (the build folder, a copied folder) or, for an
// installed program, in ../share/zav from it. The files the program writes (Data/,
// Log/, Users/ and the port links ports/) live in the data folder, which is the
// program's folder too unless that cannot be written (an installed program), in which
// case the window chooses the user's data folder.

#include <functional>
#include <string>

namespace zav {

// The program's folder (see ProgramDirOf), ending in a path separator.
std::string AppDir();
// Tests and tools point the program at another folder.
void SetAppDir(std::string dir);
// The program's folder for an executable in exeDir: exeDir when it holds lang/, else
// exeDir/../share/zav when that does (the installed layout), else exeDir.
std::string ProgramDirOf(const std::string& exeDir);
// The folder of the running executable, ending in a path separator (Linux; elsewhere
// the current folder).
std::string ExecutableDir();

// The folder of Data/, Log/, Users/ and ports/, ending in a path separator: AppDir()
// unless SetDataDir chose another.
std::string DataDir();
void SetDataDir(std::string dir);

// Where the program keeps its files: appDir when canWrite says it can write there
// (Log/, Users/ and ports/ are made there if missing), else userDir, where the shipped Data/ files
// of appDir are copied on first use and Log/, Users/ and ports/ are made. Returns the folder chosen
// (empty when neither can be used: the program then runs with appDir and reports failures as they
// come).
std::string PrepareDataDir(const std::string& appDir, const std::string& userDir,
                           const std::function<bool(const std::string&)>& canWrite);
// PrepareDataDir for a program started from exeDir, with CanWriteFolder, except that
// the folder of an installed program (../share/zav) is never written, even by root:
// the package owns its files.
std::string PrepareDataDirOf(const std::string& exeDir, const std::string& userDir);
// Whether a file can be created in dir (tried, then removed).
bool CanWriteFolder(const std::string& dir);

} // namespace zav
