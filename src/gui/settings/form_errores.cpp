#include "settings/form_errores.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <tuple>

#include "common/dialog_texts.h"
#include "settings/dialog_support.h"

namespace zav {

namespace {
// One row: the step's switch for the sequence, its caption and its own button.
QFrame* NewRow(const char* name, QCheckBox*& box, QLabel*& label, QPushButton*& button,
               const char* caption, QWidget* parent) {
    auto* row = new QFrame(parent);
    row->setObjectName(name);
    row->setFrameShape(QFrame::Panel);
    row->setFrameShadow(QFrame::Raised);
    box = new QCheckBox(row);
    label = new QLabel(caption, row);
    label->setBuddy(box);
    button = new QPushButton("OK!", row);
    auto* layout = new QHBoxLayout(row);
    layout->addWidget(box);
    layout->addWidget(label, 1);
    layout->addWidget(button);
    return row;
}
} // namespace

TFormErrores::TFormErrores(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormErrores");
    setWindowTitle("Error recovering");
    pnlED = NewRow("pnlED", chboxED, StaticText1, btnED, "Break up communication:", this);
    chboxED->setObjectName("chboxED");
    StaticText1->setObjectName("StaticText1");
    btnED->setObjectName("btnED");
    pnlSettsClear = NewRow("pnlSettsClear", chboxSettsClear, StaticText2, btnSettsClear,
                           "Clear comand receiving  readiness marks:", this);
    chboxSettsClear->setObjectName("chboxSettsClear");
    StaticText2->setObjectName("StaticText2");
    btnSettsClear->setObjectName("btnSettsClear");
    btnAllOk = new QPushButton("Start sequence", this);
    btnAllOk->setObjectName("btnAllOk");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlED);
    layout->addWidget(pnlSettsClear);
    layout->addWidget(btnAllOk);

    ApplyLanguage();
    const TCommonDatas& d = controller_.CommonDatas();
    chboxED->setChecked(d.RecoveryStopRecording);
    chboxSettsClear->setChecked(d.RecoveryClearBuffers);

    connect(chboxED, &QCheckBox::toggled, this, [this] { chboxEDClick(); });
    connect(chboxSettsClear, &QCheckBox::toggled, this, [this] { chboxSettsClearClick(); });
    connect(btnED, &QPushButton::clicked, this, [this] { btnEDClick(); });
    connect(btnSettsClear, &QPushButton::clicked, this, [this] { btnSettsClearClick(); });
    connect(btnAllOk, &QPushButton::clicked, this, [this] { btnAllOkClick(); });
}

void TFormErrores::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (LoadDialogTexts(lang, 42)) {
        setWindowTitle(DialogText(lang, 39));
        StaticText1->setText(DialogText(lang, 40));
        StaticText2->setText(DialogText(lang, 41));
        btnAllOk->setText(DialogText(lang, 42));
    }
    // The check boxes and the row buttons carry no caption of their own.
    const QString inSequence = QString::fromStdString(lang.Message(msgInRecoverySequence));
    const QString now = QString::fromStdString(lang.Message(msgRunStepNow));
    for (auto [box, button, label] : {std::tuple{chboxED, btnED, StaticText1},
                                      std::tuple{chboxSettsClear, btnSettsClear, StaticText2}}) {
        box->setAccessibleName(label->text() + " " + inSequence);
        box->setToolTip(inSequence);
        button->setAccessibleName(label->text() + " " + now);
        button->setToolTip(now);
    }
    btnAllOk->setAccessibleName(btnAllOk->text());
}

void TFormErrores::chboxEDClick() {
    controller_.CommonDatas().RecoveryStopRecording = chboxED->isChecked();
}

void TFormErrores::chboxSettsClearClick() {
    controller_.CommonDatas().RecoveryClearBuffers = chboxSettsClear->isChecked();
}

void TFormErrores::btnEDClick() {
    controller_.Recovery().StopControllerRecording();
}

void TFormErrores::btnSettsClearClick() {
    controller_.Recovery().ClearReadinessMarks();
}

void TFormErrores::btnAllOkClick() {
    controller_.Recovery().RunRecovery();
}

} // namespace zav
