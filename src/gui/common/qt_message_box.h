#pragma once
// The core's message boxes as modal Qt message boxes.

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <deque>

#include "localisation/lang.h"
#include "state/views.h"

namespace zav {

// The OK and Cancel buttons of a box in the language in use.
void TranslateButtons(QMessageBox& box, const TLang& lang);

class TQtMessageBox : public IMessageBox {
public:
    explicit TQtMessageBox(QWidget* parent) : parent_(parent) {}
    // The catalogue whose texts the buttons show; without one they keep Qt's.
    void AttachLanguage(const TLang* lang) { lang_ = lang; }
    void ShowMessage(const std::string& text) override;
    // From Hold to Release messages wait, in order: those of start-up then reach the
    // operator over the shown window rather than before it.
    void Hold() { holding_ = true; }
    bool Holding() const { return holding_; }
    bool HasHeld() const { return !held_.empty(); }
    void Release();

private:
    void Show(const std::string& text);

    QPointer<QWidget> parent_;
    const TLang* lang_ = nullptr;
    bool holding_ = false;
    std::deque<std::string> held_;
};

} // namespace zav
