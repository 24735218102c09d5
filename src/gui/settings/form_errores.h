#pragma once
// The error recovery dialog: run either recovery step alone or the whole sequence, and
// choose the steps of the sequence. The check boxes act at once; there is no OK.

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "controller/controller.h"

namespace zav {

class TFormErrores : public QDialog {
    Q_OBJECT
public:
    TFormErrores(TController& controller, QWidget* parent);

    QFrame* pnlED;
    QCheckBox* chboxED;
    QLabel* StaticText1;
    QPushButton* btnED;
    QFrame* pnlSettsClear;
    QCheckBox* chboxSettsClear;
    QLabel* StaticText2;
    QPushButton* btnSettsClear;
    QPushButton* btnAllOk;

    void chboxEDClick();
    void chboxSettsClearClick();
    void btnEDClick();
    void btnSettsClearClick();
    void btnAllOkClick();

private:
    void ApplyLanguage();
    TController& controller_;
};

} // namespace zav
