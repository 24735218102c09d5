#include "main-window/form_coord.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <exception>

#include "common/dialog_guard.h"

namespace zav {

namespace {
const char* const CommonDatasError = "Module CommonDatas errore";
}

TFormCoord::TFormCoord(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormCoord");
    auto* guard = new TDialogGuard(*this, true);
    setWindowTitle(QString::fromUtf8("Текущие координаты"));
    StaticText1 = new QLabel("Channels:", this);
    StaticText1->setObjectName("StaticText1");
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(QString::number(i + 1), this);
        box->setObjectName(QString("CheckBox%1").arg(i + 1));
        QFont bold = box->font();
        bold.setBold(true);
        box->setFont(bold);
        *boxes[i] = box;
    }
    btnOk = new QPushButton(QString::fromStdString(controller_.Lang().Message(msgOk)), this);
    btnOk->setObjectName("btnOk");
    // The window keeps the size its contents ask for, whatever the font.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StaticText1);
    auto* row = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3})
        row->addWidget(box);
    layout->addLayout(row);
    auto* button = new QHBoxLayout;
    button->addStretch();
    button->addWidget(btnOk);
    button->addStretch();
    layout->addLayout(button);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    try {
        const TCommonDatas& datas = controller_.CommonDatas();
        CheckBox1->setChecked(datas.Coord1Selected);
        CheckBox2->setChecked(datas.Coord2Selected);
        CheckBox3->setChecked(datas.Coord3Selected);
    } catch (const std::exception&) {
        controller_.ShowMessage(CommonDatasError);
    }
    guard->Connect(btnOk, [this] { btnOkClick(); });
}

void TFormCoord::btnOkClick() {
    try {
        TCommonDatas& datas = controller_.CommonDatas();
        datas.SetCoordSelected(1, CheckBox1->isChecked());
        datas.SetCoordSelected(2, CheckBox2->isChecked());
        datas.SetCoordSelected(3, CheckBox3->isChecked());
    } catch (const std::exception&) {
        controller_.ShowMessage(CommonDatasError);
    }
    close();
}

} // namespace zav
