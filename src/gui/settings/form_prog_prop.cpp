#include "settings/form_prog_prop.h"

#include <QVBoxLayout>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"
#include "settings/dialog_support.h"

namespace zav {

namespace {
QFrame* NewPanel(const char* name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    new QVBoxLayout(panel);
    return panel;
}

QCheckBox* NewSwitch(const char* name, const char* caption, QFrame* panel) {
    auto* box = new QCheckBox(caption, panel);
    box->setObjectName(name);
    panel->layout()->addWidget(box);
    return box;
}
} // namespace

TFormProgProp::TFormProgProp(TController& controller, std::function<void()> relayOut,
                             QWidget* parent)
    : QDialog(parent), controller_(controller), relayOut_(std::move(relayOut)) {
    setObjectName("FormProgProp");
    setWindowTitle("Program main settings");

    Panel1 = NewPanel("Panel1", this);
    chboxPortLogs =
        NewSwitch("chboxPortLogs", "Show port replies log (extended control mode only)", Panel1);
    chboxLoadLogs = NewSwitch(
        "chboxLoadLogs", "Show algorithm recording process (extended control mode only)", Panel1);
    chBoxLogs = NewSwitch("chBoxLogs", "Show operation log", Panel1);
    Panel2 = NewPanel("Panel2", this);
    chBoxSavePortLogs = NewSwitch("chBoxSavePortLogs", "Save port replies log", Panel2);
    chBoxSaveLogs = NewSwitch("chBoxSaveLogs", "Save operation log", Panel2);
    Panel3 = NewPanel("Panel3", this);
    chBoxSavePortProp = NewSwitch("chBoxSavePortProp", "Save port properties", Panel3);
    chboxSaveProgProp = NewSwitch("chboxSaveProgProp", "Save program settings", Panel3);
    chBoxSaveErrProp = NewSwitch("chBoxSaveErrProp", "Save error handling settings", Panel3);
    Panel6 = NewPanel("Panel6", this);
    chboxUnitsSave = NewSwitch("chboxUnitsSave", "Save unit of measurement", Panel6);
    ChboxUnitsName = NewSwitch("ChboxUnitsName", "Save unit measurement name", Panel6);
    ChboxUnitsScale = NewSwitch("ChboxUnitsScale", "Save unit measurement scale", Panel6);
    Panel4 = NewPanel("Panel4", this);
    chBoxAddENAutomatic =
        NewSwitch("chBoxAddENAutomatic",
                  "Automatically add command  \"Set enable\" to the command list", Panel4);
    chboxAddBGAutomatic =
        NewSwitch("chboxAddBGAutomatic",
                  "Automatically add command  \"Program begin\" to the command list", Panel4);
    PanelReconnect = NewPanel("PanelReconnect", this);
    chboxReconnect = NewSwitch("chboxReconnect", "Reconnect a lost device", PanelReconnect);
    PanelSend = NewPanel("PanelSend", this);
    chboxAskBeforeSending = NewSwitch("chboxAskBeforeSending", "", PanelSend);
    Panel5 = NewPanel("Panel5", this);
    RgrTrunc = new TRadioGroup(
        "RgrTrunc", "Units rounding:", {"Decreasing", "Increasing", "Mathematic"}, 1, Panel5);
    rgrUnitsName = new QGroupBox("Units name", Panel5);
    rgrUnitsName->setObjectName("rgrUnitsName");
    EditUnitsName = new QLineEdit("Step", rgrUnitsName);
    EditUnitsName->setObjectName("EditUnitsName");
    auto* unitsName = new QVBoxLayout(rgrUnitsName);
    unitsName->addWidget(EditUnitsName);
    unitsName->addStretch();
    auto* units = new QHBoxLayout;
    units->addWidget(RgrTrunc, 1);
    units->addWidget(rgrUnitsName, 1);
    static_cast<QVBoxLayout*>(Panel5->layout())->addLayout(units);

    btnOK = NewOkButton("btnOK", controller_.Lang(), this);
    btnCancel = NewCancelButton(controller_.Lang(), this);
    auto* layout = new QVBoxLayout(this);
    for (QFrame* panel :
         {Panel1, Panel2, Panel3, Panel6, Panel4, PanelReconnect, PanelSend, Panel5})
        layout->addWidget(panel);
    layout->addSpacing(10 - layout->spacing());
    layout->addLayout(OkCancelRow(btnOK, btnCancel));

    ApplyLanguage();
    const TCommonDatas& d = controller_.CommonDatas();
    for (auto [box, member] : Switches())
        box->setChecked(d.*member);
    RgrTrunc->SetItemIndex(d.Rounding <= 2 ? d.Rounding : -1);
    EditUnitsName->setText(QString::fromStdString(d.UnitsName));

    // Shown modally and freed by its owner; OK is not run again while it runs (a
    // message box it shows runs a nested event loop).
    (new TDialogGuard(*this, false))->Connect(btnOK, [this] { btnOKClick(); });
}

std::vector<std::pair<QCheckBox*, bool TCommonDatas::*>> TFormProgProp::Switches() const {
    return {
        {chboxPortLogs, &TCommonDatas::ShowPortLog},
        {chboxLoadLogs, &TCommonDatas::ShowLoadLog},
        {chBoxLogs, &TCommonDatas::ShowWorkLog},
        {chBoxSavePortLogs, &TCommonDatas::SavePortLog},
        {chBoxSaveLogs, &TCommonDatas::SaveWorkLog},
        {chBoxSavePortProp, &TCommonDatas::SavePortProps},
        {chboxSaveProgProp, &TCommonDatas::SaveProgProps},
        {chBoxSaveErrProp, &TCommonDatas::SaveErrProps},
        {chboxUnitsSave, &TCommonDatas::SaveUnits},
        {ChboxUnitsName, &TCommonDatas::SaveUnitsName},
        {ChboxUnitsScale, &TCommonDatas::SaveUnitsScale},
        {chBoxAddENAutomatic, &TCommonDatas::AutoAddEN},
        {chboxAddBGAutomatic, &TCommonDatas::AutoAddBG},
        {chboxReconnect, &TCommonDatas::ReconnectLostDevice},
        {chboxAskBeforeSending, &TCommonDatas::AskBeforeSendingWarnings},
    };
}

void TFormProgProp::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (LoadDialogTexts(lang, 61)) {
        setWindowTitle(DialogText(lang, 43));
        const std::pair<QCheckBox*, int> captions[] = {
            {chboxPortLogs, 44},    {chboxLoadLogs, 45},       {chBoxSavePortLogs, 46},
            {chBoxSaveLogs, 47},    {chBoxSavePortProp, 48},   {chboxSaveProgProp, 49},
            {chBoxSaveErrProp, 50}, {chboxUnitsSave, 51},      {ChboxUnitsName, 52},
            {ChboxUnitsScale, 53},  {chBoxAddENAutomatic, 54}, {chboxAddBGAutomatic, 55},
            {chBoxLogs, 61},
        };
        for (auto [box, entry] : captions)
            box->setText(DialogText(lang, entry));
        RgrTrunc->setTitle(DialogText(lang, 56));
        for (int item = 0; item < 3; ++item)
            RgrTrunc->SetItemCaption(item, DialogText(lang, 57 + item));
        rgrUnitsName->setTitle(DialogText(lang, 60));
        // A language file made before this entry existed keeps the built-in caption.
        if (const QString reconnect = DialogText(lang, 62); !reconnect.isEmpty())
            chboxReconnect->setText(reconnect);
    }
    chboxReconnect->setToolTip(QString::fromStdString(lang.Message(msgReconnectHint)));
    chboxAskBeforeSending->setText(
        QString::fromStdString(lang.Message(msgAskBeforeSendingWarnings)));
    chboxAskBeforeSending->setToolTip(
        QString::fromStdString(lang.Message(msgAskBeforeSendingHint)));
    NameControlsByCaption(this);
    for (int item = 0; item < 3; ++item)
        RgrTrunc->Button(item)->setAccessibleName(RgrTrunc->title() + " " +
                                                  RgrTrunc->Button(item)->text());
    EditUnitsName->setAccessibleName(rgrUnitsName->title());
}

void TFormProgProp::btnOKClick() {
    TCommonDatas& d = controller_.CommonDatas();
    d.UnitsName = EditUnitsName->text().toStdString();
    for (auto [box, member] : Switches())
        d.*member = box->isChecked();
    if (relayOut_)
        relayOut_();
    if (RgrTrunc->ItemIndex() >= 0)
        d.SetRounding(static_cast<std::uint8_t>(RgrTrunc->ItemIndex()));
    // Shows the scale with the new unit name and builds the catalogue again.
    d.SetScale(d.Scale);
    accept();
}

} // namespace zav
