#pragma once
// Where the main window's texts (section "f1") go: each entry names the control, by its
// object name, that shows it. Texts composed of several entries are put together by
// TLang::TranslateMainForm.

#include <span>
#include <string>

namespace zav {

// The main window as the language catalogue sees it.
class IMainFormView {
public:
    virtual ~IMainFormView() = default;
    // item -1 is the control's own caption; otherwise an item of a radio group or a
    // column of a grid's header row. "Form1" is the window's caption.
    virtual void SetControlCaption(const std::string& control, int item,
                                   const std::string& text) = 0;
    // The messages of a language were loaded: the texts the window takes from them follow.
    virtual void MessagesLoaded() {}
};

struct TMainFormText {
    int Entry;
    const char* Control;
    int Item = -1;
};

// The entries that go to one control as they stand, in entry order.
std::span<const TMainFormText> MainFormTexts();

} // namespace zav
