#pragma once
// The text of the program information box.

#include <string>

namespace zav {

class TController;

// Name, version and purpose of the program, its build date, the toolkit version it was
// built with, the port and its settings, and the folder of the settings files.
std::string ProgramInformation(TController& controller, const std::string& toolkitVersion);

} // namespace zav
