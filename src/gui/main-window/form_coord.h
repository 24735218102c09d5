#pragma once
// The coordinate selection dialog (a hidden menu item): which coordinates the
// simple-mode buttons act on.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "controller/controller.h"

namespace zav {

class TFormCoord : public QDialog {
    Q_OBJECT
public:
    TFormCoord(TController& controller, QWidget* parent);

    QLabel* StaticText1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QPushButton* btnOk;

    void btnOkClick();

private:
    TController& controller_;
};

} // namespace zav
