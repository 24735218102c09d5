#pragma once
// Changing the language at run time: the list of languages offered, the confirmation
// text, and the switch itself, which refills the main window, the messages and the
// command descriptions in that order.

#include <functional>
#include <string>
#include <vector>

#include "state/views.h"

namespace zav {

class TCommonDatas;
class TLang;
class TZavCommands;

class TLanguageSwitch {
public:
    TLanguageSwitch(TCommonDatas& datas, TLang& lang, TZavCommands& commands,
                    IMessageBox* messageBox);

    // The names in lang/lang.lng, one a line; empty lines are no language. A list that
    // cannot be read is reported with the file-not-found message and gives no names.
    std::vector<std::string> LoadLanguageList();
    // The names among the list file's lines.
    static std::vector<std::string> LanguageNames(std::vector<std::string> lines);
    // The language's name in its own words: its message file's entry for it, else the
    // name as lang.lng has it.
    std::string OwnName(const std::string& name) const;
    // The question the operator confirms before the switch; shownName is the name as
    // the list showed it.
    std::string ConfirmationText(const std::string& shownName) const;
    // Sets Language and reloads the main window's texts, the messages and the command
    // catalogue. The dialog that asked translates itself afterwards.
    void SetLanguage(const std::string& name);

    // Runs last in SetLanguage: the captions composed outside the catalogue follow.
    std::function<void()> OnSwitched;

private:
    TCommonDatas& datas_;
    TLang& lang_;
    TZavCommands& commands_;
    IMessageBox* messageBox_;
};

} // namespace zav
