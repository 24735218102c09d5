#pragma once
// The language dialog: the languages of lang/lang.lng in a combo box; choosing one and
// confirming switches the whole program to it.

#include <QComboBox>
#include <QDialog>
#include <QLabel>

#include "controller/controller.h"

namespace zav {

class TFormLang : public QDialog {
    Q_OBJECT
public:
    TFormLang(TController& controller, QWidget* parent);

    QLabel* lbl1;
    QComboBox* ComboBoxLang;

    void ComboBoxLangClick(int index);

private:
    void ApplyLanguage();
    bool Confirm(const QString& text);
    TController& controller_;
};

} // namespace zav
