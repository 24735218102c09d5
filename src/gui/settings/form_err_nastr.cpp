#include "settings/form_err_nastr.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"
#include "settings/dialog_support.h"
#include "settings/error_settings_file.h"
#include "settings/form_errores.h"

namespace zav {

namespace {
QFrame* NewPanel(const char* name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// A pair of radio buttons on a panel of its own, so that each pair chooses alone.
QFrame* NewChoice(const char* name, QLabel*& label, QRadioButton*& ignore, QRadioButton*& stop,
                  const char* caption, QWidget* parent) {
    QFrame* panel = NewPanel(name, parent);
    label = new QLabel(caption, panel);
    ignore = new QRadioButton("Don't handle and continue commands transferring", panel);
    stop = new QRadioButton("Stop commands transferring (recommended)", panel);
    stop->setChecked(true);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label);
    layout->addWidget(ignore);
    layout->addWidget(stop);
    return panel;
}
} // namespace

TFormErrNastr::TFormErrNastr(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormErrNastr");
    setWindowTitle("Program settings - error handling");

    pnlEr5 = NewPanel("pnlEr5", this);
    StaticText1 = Named(new QLabel("Communication errors handling:", pnlEr5), "StaticText1");
    chboxEr5 = Named(new QCheckBox("Automatically start error recovery", pnlEr5), "chboxEr5");
    chboxEr5->setChecked(true);
    btnErrRun = Named(new QPushButton("Clear error", pnlEr5), "btnErrRun");
    auto* er5 = new QVBoxLayout(pnlEr5);
    er5->addWidget(StaticText1);
    auto* er5Row = new QHBoxLayout;
    er5Row->addWidget(chboxEr5, 1);
    er5Row->addWidget(btnErrRun);
    er5->addLayout(er5Row);
    chboxEcho =
        Named(new QCheckBox("Check the controller's echo of each command", pnlEr5), "chboxEcho");
    er5->addWidget(chboxEcho);

    pnlErr6 = NewChoice("pnlErr6", StaticText2, RbtnEr6_NoReact, RbtnEr6_Esc,
                        "Command error handling:", this);
    StaticText2->setObjectName("StaticText2");
    RbtnEr6_NoReact->setObjectName("RbtnEr6_NoReact");
    RbtnEr6_Esc->setObjectName("RbtnEr6_Esc");
    PnlErr9 = NewChoice("PnlErr9", StaticText3, RbtnEr9_NoReact, RbtnEr9_Esc,
                        "Command data error handling:", this);
    StaticText3->setObjectName("StaticText3");
    RbtnEr9_NoReact->setObjectName("RbtnEr9_NoReact");
    RbtnEr9_Esc->setObjectName("RbtnEr9_Esc");

    pnlTime = NewPanel("pnlTime", this);
    StaticText4 = Named(new QLabel("Allowed reply waiting time, ms", pnlTime), "StaticText4");
    SpinEditTime = Named(new QSpinBox(pnlTime), "SpinEditTime");
    SpinEditTime->setRange(TErrorSettingsFile::MinReplyTimeout,
                           TErrorSettingsFile::MaxReplyTimeout);
    StaticText4->setBuddy(SpinEditTime);
    auto* time = new QHBoxLayout(pnlTime);
    time->addWidget(StaticText4, 1);
    time->addWidget(SpinEditTime);

    btnOk = NewOkButton("btnOk", controller_.Lang(), this);
    btnCancel = NewCancelButton(controller_.Lang(), this);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {pnlEr5, pnlErr6, PnlErr9, pnlTime})
        layout->addWidget(w);
    layout->addLayout(OkCancelRow(btnOk, btnCancel));

    ApplyLanguage();
    const TCommonDatas& d = controller_.CommonDatas();
    chboxEr5->setChecked(d.AutoRecovery);
    chboxEcho->setChecked(d.EchoCheck);
    // A value other than 0 or 1 leaves its pair as built.
    if (d.StopOnCommandError <= 1)
        (d.StopOnCommandError == 0 ? RbtnEr6_NoReact : RbtnEr6_Esc)->setChecked(true);
    if (d.StopOnDataError <= 1)
        (d.StopOnDataError == 0 ? RbtnEr9_NoReact : RbtnEr9_Esc)->setChecked(true);
    SpinEditTime->setValue(std::clamp(d.ReplyTimeout.load(), TErrorSettingsFile::MinReplyTimeout,
                                      TErrorSettingsFile::MaxReplyTimeout));

    // Shown modally and freed by its owner; OK is not run again while it runs (a
    // message box it shows runs a nested event loop).
    (new TDialogGuard(*this, false))->Connect(btnOk, [this] { btnOkClick(); });
    connect(btnErrRun, &QPushButton::clicked, this, [this] { btnErrRunClick(); });
}

void TFormErrNastr::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (LoadDialogTexts(lang, 38)) {
        setWindowTitle(DialogText(lang, 28));
        StaticText1->setText(DialogText(lang, 29));
        chboxEr5->setText(DialogText(lang, 30));
        btnErrRun->setText(DialogText(lang, 31));
        StaticText2->setText(DialogText(lang, 32));
        RbtnEr6_NoReact->setText(DialogText(lang, 33));
        RbtnEr6_Esc->setText(DialogText(lang, 34));
        StaticText3->setText(DialogText(lang, 35));
        RbtnEr9_NoReact->setText(DialogText(lang, 36));
        RbtnEr9_Esc->setText(DialogText(lang, 37));
        StaticText4->setText(DialogText(lang, 38));
    }
    chboxEcho->setText(QString::fromStdString(lang.Message(msgEchoCheckOption)));
    chboxEcho->setToolTip(QString::fromStdString(lang.Message(msgEchoCheckHint)));
    NameControlsByCaption(this);
    // The two pairs share their captions; the group's caption tells them apart.
    for (auto* button : {RbtnEr6_NoReact, RbtnEr6_Esc})
        button->setAccessibleName(StaticText2->text() + " " + button->text());
    for (auto* button : {RbtnEr9_NoReact, RbtnEr9_Esc})
        button->setAccessibleName(StaticText3->text() + " " + button->text());
    SpinEditTime->setAccessibleName(StaticText4->text());
}

void TFormErrNastr::btnOkClick() {
    // A reply time that is empty, no number or below the least is refused, not taken as
    // 1 ms: the dialog stays open and nothing is stored.
    std::int32_t time = 0;
    if (!TErrorSettingsFile::ReplyTimeoutFromText(SpinEditTime->cleanText().toStdString(), time)) {
        controller_.ShowMessage(controller_.Lang().Message(msgReplyTimeoutRefused));
        SpinEditTime->setFocus();
        return;
    }
    TCommonDatas& d = controller_.CommonDatas();
    d.AutoRecovery = chboxEr5->isChecked();
    d.EchoCheck = chboxEcho->isChecked();
    d.StopOnCommandError = RbtnEr6_NoReact->isChecked() ? 0 : 1;
    d.StopOnDataError = RbtnEr9_NoReact->isChecked() ? 0 : 1;
    d.ReplyTimeout = time;
    accept();
}

void TFormErrNastr::btnErrRunClick() {
    controller_.Log(controller_.Lang().Message(msgRecoveryStarted));
    TFormErrores dialog(controller_, this);
    dialog.exec();
}

} // namespace zav
