#include "controller/program_info.h"

#include "controller/controller.h"
#include "state/paths.h"

namespace zav {

namespace {
// The messages' leading blanks separate them from a value; on a line of their own they
// would only indent it.
std::string TrimLeft(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}
} // namespace

std::string ProgramInformation(TController& controller, const std::string& toolkitVersion) {
    TLang& lang = controller.Lang();
    TComPort& port = controller.Port();
    std::string text = lang.Message(msgSoftwareName) + " " + controller.CommonDatas().Version +
                       lang.Message(msgIntendedFor) + "\n" +
                       TrimLeft(lang.Message(msgContactOffice)) + "\n\n";
    text += lang.Message(msgBuildDate) + __DATE__ + "\n";
    text += lang.Message(msgToolkitVersion) + toolkitVersion + "\n";
    if (port.Connected())
        text += lang.Message(msgPortLabel) + controller.PortConnection().PortInfo() + "\n";
    else
        text += lang.Message(msgPortLabel) + "Com" + std::to_string(port.PortNumber()) +
                lang.Message(msgPortClosed) + "\n";
    text += lang.Message(msgSettingsFolder) + DataDir() + "Data";
    return text;
}

} // namespace zav
