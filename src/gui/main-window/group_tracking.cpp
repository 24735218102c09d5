#include "main-window/group_tracking.h"

#include <QGridLayout>

#include "common/text_icon.h"

namespace zav {

namespace {
struct TTrackRow {
    QLabel* label;
    QLineEdit* edit;
    QToolButton* button;
};

TTrackRow MakeRow(QWidget* parent, const char* name, const QString& caption, const QString& text,
                  int maxLength, const QString& icon, const QString& hint,
                  const QString& valueName) {
    TTrackRow row;
    row.label = new QLabel(caption, parent);
    row.label->setObjectName(QString("lblTrack") + name);
    row.edit = new QLineEdit(text, parent);
    row.edit->setObjectName(QString("EditTrack") + name);
    row.edit->setFixedWidth(48);
    row.edit->setAccessibleName(valueName);
    row.label->setBuddy(row.edit);
    if (maxLength > 0)
        row.edit->setMaxLength(maxLength);
    row.button = new QToolButton(parent);
    row.button->setIcon(TextIcon(icon));
    row.button->setToolTip(hint);
    row.button->setAccessibleName(icon + " Send " + valueName.toLower());
    row.button->setFocusPolicy(Qt::StrongFocus);
    row.button->setMinimumSize(23, 20);
    return row;
}
} // namespace

TGrBoxTracking::TGrBoxTracking(QWidget* parent) : QGroupBox("Tracking mode", parent) {
    setObjectName("GrBoxTracking");
    auto stSpeed = MakeRow(this, "StSpeed", "Start Speed", "200", 5, "SS", "Start speed",
                           "Tracking start speed");
    auto speed =
        MakeRow(this, "Speed", "Tracking Speed", "200", 5, "SD", "Maximum speed", "Tracking speed");
    auto accel = MakeRow(this, "Accel", "Acceleration", "0", 0, "AL", "Acceleration/deceleration",
                         "Tracking acceleration");
    auto scale = MakeRow(this, "Scale", "Scale", "1", 0, "SC", "Movement scale", "Tracking scale");
    lblTrackStSpeed = stSpeed.label;
    EditTrackStSpeed = stSpeed.edit;
    btnTrackSTSpeed = stSpeed.button;
    btnTrackSTSpeed->setObjectName("btnTrackSTSpeed");
    lblTrackSpeed = speed.label;
    EditTrackSpeed = speed.edit;
    btnTrackSpeed = speed.button;
    btnTrackSpeed->setObjectName("btnTrackSpeed");
    lblTrackAccel = accel.label;
    EditTrackAccel = accel.edit;
    btnTrackAccel = accel.button;
    btnTrackAccel->setObjectName("btnTrackAccel");
    lblTrackScale = scale.label;
    EditTrackScale = scale.edit;
    btnTrackScale = scale.button;
    btnTrackScale->setObjectName("btnTrackScale");
    btnTrackApply = new QPushButton("Apply", this);
    btnTrackApply->setObjectName("btnTrackApply");
    btnTrackApply->setMinimumHeight(25);

    // Two columns of a caption, its field and its button, Apply across both; a column
    // widens for a longer caption.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(3, 0, 3, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(6);
    const TTrackRow rows[] = {stSpeed, speed, accel, scale};
    for (int i = 0; i < 4; ++i) {
        const int column = (i % 2) * 4;
        grid->addWidget(rows[i].label, i / 2, column);
        grid->addWidget(rows[i].edit, i / 2, column + 1);
        grid->addWidget(rows[i].button, i / 2, column + 2);
    }
    // The captions' built widths; a longer caption widens its column.
    grid->setColumnMinimumWidth(0, 86);
    grid->setColumnMinimumWidth(3, 6);
    grid->setColumnMinimumWidth(4, 98);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(4, 1);
    grid->addWidget(btnTrackApply, 2, 0, 1, 7);
}

} // namespace zav
