#pragma once
// "Load from device": reads the program stored in the controller and shows it as a
// command list that can be taken over into the main window's list. Non-modal; at most
// one exists, and it frees itself when closed.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/command_grid.h"
#include "controller/controller.h"

namespace zav {

class TFormChanRead : public QDialog, public IChanReadView {
    Q_OBJECT
public:
    TFormChanRead(TController& controller, QWidget* parent);
    ~TFormChanRead() override;

    QPushButton* btnRead;
    QCheckBox* chbAddToEnd;
    QCheckBox* chbCodes;
    QPushButton* btnAddToList;
    QLabel* lblReadCoordinate;
    QComboBox* cbReadCoordinate; // 1, 2 or 3: whose stored program is read
    QCheckBox* chbKeepRecording; // LD n ... ED around the list taken over
    TCommandGrid* StringGridRead;
    QPlainTextEdit* MemoChan;

    void chbCodesClick();

    // IChanReadView
    void SetReadEnabled(bool enabled) override;
    bool AddToEnd() const override;
    void ShowMemoChan(const std::vector<std::string>& lines) override;

private:
    void ApplyLanguage();

    TController& controller_;
};

} // namespace zav
