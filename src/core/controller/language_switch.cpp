#include "controller/language_switch.h"

#include "command-language/zav_commands.h"
#include "localisation/lang.h"
#include "state/common_datas.h"
#include "state/encoded_stream.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

TLanguageSwitch::TLanguageSwitch(TCommonDatas& datas, TLang& lang, TZavCommands& commands,
                                 IMessageBox* messageBox)
    : datas_(datas), lang_(lang), commands_(commands), messageBox_(messageBox) {}

std::vector<std::string> TLanguageSwitch::LoadLanguageList() {
    const std::string fileName = AppDir() + "lang/lang.lng";
    try {
        return LanguageNames(LoadLanguageLines(fileName));
    } catch (const EFileStreamError&) {
        if (messageBox_)
            messageBox_->ShowMessage(lang_.Message(msgFileNotFound) + fileName +
                                     lang_.Message(msgFileNotFoundEnd));
    }
    return {};
}

std::vector<std::string> TLanguageSwitch::LanguageNames(std::vector<std::string> lines) {
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    return lines;
}

std::string TLanguageSwitch::OwnName(const std::string& name) const {
    // A name that is no folder inside lang/ has no files to ask.
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\") != std::string::npos)
        return name;
    std::vector<std::string> lines;
    try {
        lines = LoadLanguageLines(AppDir() + "lang/" + name + "/" + name + "msg.lng");
    } catch (const EFileStreamError&) {
        return name;
    }
    if (lines.size() <= static_cast<std::size_t>(msgLanguageName))
        return name;
    std::string text = lines[msgLanguageName];
    try {
        if (TLang::ParseLineNumber(text) != msgLanguageName)
            return name;
    } catch (const EConvertError&) {
        return name;
    }
    return text.find_first_not_of(' ') == std::string::npos ? name : text;
}

std::string TLanguageSwitch::ConfirmationText(const std::string& shownName) const {
    return lang_.Message(msgSetLanguage) + shownName + "\"?";
}

void TLanguageSwitch::SetLanguage(const std::string& name) {
    datas_.Language = name;
    lang_.LoadFormTexts("f1");
    lang_.TranslateMainForm();
    lang_.LoadMessages();
    commands_.BuildCatalogue();
    if (OnSwitched)
        OnSwitched();
}

} // namespace zav
