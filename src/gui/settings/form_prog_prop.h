#pragma once
// The program settings dialog: which logs and panels are shown, which files are saved
// on closing, the automatic commands of a recorded program, and the user unit's saving,
// name and rounding, and whether a lost device is reopened when it is back. OK stores them and lays
// the main window out again; closing the window any other way discards the changes.

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "common/radio_group.h"
#include "controller/controller.h"

namespace zav {

class TFormProgProp : public QDialog {
    Q_OBJECT
public:
    // relayOut shows or hides the operation log and lays the main window out for its
    // control mode, with the settings just stored.
    TFormProgProp(TController& controller, std::function<void()> relayOut, QWidget* parent);

    QFrame *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *Panel6;
    QFrame* PanelReconnect;
    QFrame* PanelSend;
    QCheckBox* chboxPortLogs;
    QCheckBox* chboxLoadLogs;
    QCheckBox* chBoxLogs;
    QCheckBox* chBoxSavePortLogs;
    QCheckBox* chBoxSaveLogs;
    QCheckBox* chBoxSavePortProp;
    QCheckBox* chboxSaveProgProp;
    QCheckBox* chBoxSaveErrProp;
    QCheckBox* chboxUnitsSave;
    QCheckBox* ChboxUnitsName;
    QCheckBox* ChboxUnitsScale;
    QCheckBox* chBoxAddENAutomatic;
    QCheckBox* chboxAddBGAutomatic;
    QCheckBox* chboxReconnect;
    QCheckBox* chboxAskBeforeSending;
    TRadioGroup* RgrTrunc;
    QGroupBox* rgrUnitsName;
    QLineEdit* EditUnitsName;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    void ApplyLanguage();
    // Each check box with the member it edits.
    std::vector<std::pair<QCheckBox*, bool TCommonDatas::*>> Switches() const;

    TController& controller_;
    std::function<void()> relayOut_;
};

} // namespace zav
