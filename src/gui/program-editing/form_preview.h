#pragma once
// The motion preview: what the command list will make each recorded coordinate do,
// plotted against estimated time, with each coordinate's end position and duration and
// the list's. It follows the list as it is edited. Non-modal; at most one exists, and it
// frees itself when closed.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "controller/controller.h"
#include "program-editing/motion_plot.h"

class QAbstractItemModel;

namespace zav {

class TFormPreview : public QDialog {
    Q_OBJECT
public:
    // list is the model of the main window's grid, whose changes the preview follows.
    TFormPreview(TController& controller, QAbstractItemModel* list, QWidget* parent);

    TMotionPlot* PlotMotion;
    QLabel* lblSummary; // each coordinate's end position and duration, and the list's
    QLabel* lblNote;    // what was cut, and why the estimate is a lower bound
    QLabel* lblAccelUnit;
    QDoubleSpinBox* EditAccelUnit;
    QPushButton* btnClose;

    // Whether the main window shows user units (else steps); none: steps.
    std::function<bool()> UserUnits;
    // Chooses a list line (from 0) in the main window's grid.
    std::function<void(std::size_t line)> OnSelectLine;

    // Builds the preview again from the list as it is now.
    void Refresh();
    void ApplyLanguage();

private:
    void ScheduleRefresh();

    TController& controller_;
    bool refreshPending_ = false;
    std::vector<std::string> shownLines_; // the list the preview was built from
};

} // namespace zav
