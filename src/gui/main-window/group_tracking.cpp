#include "main-window/group_tracking.h"

#include "common/text_icon.h"

namespace zav {

namespace {
struct TTrackRow {
    QLabel* label;
    QLineEdit* edit;
    QToolButton* button;
};

TTrackRow MakeRow(QWidget* parent, int x, int y, int labelWidth, const char* name,
                  const QString& caption, const QString& text, int maxLength, const QString& icon,
                  const QString& hint, const QString& valueName) {
    TTrackRow row;
    row.label = new QLabel(caption, parent);
    row.label->setObjectName(QString("lblTrack") + name);
    row.label->setGeometry(x, y, labelWidth, 22);
    row.edit = new QLineEdit(text, parent);
    row.edit->setObjectName(QString("EditTrack") + name);
    row.edit->setGeometry(x + labelWidth + 2, y, 48, 22);
    row.edit->setAccessibleName(valueName);
    row.label->setBuddy(row.edit);
    if (maxLength > 0)
        row.edit->setMaxLength(maxLength);
    row.button = new QToolButton(parent);
    row.button->setIcon(TextIcon(icon));
    row.button->setToolTip(hint);
    row.button->setAccessibleName(icon + " Send " + valueName.toLower());
    row.button->setFocusPolicy(Qt::StrongFocus);
    row.button->setGeometry(x + labelWidth + 53, y + 1, 23, 20);
    return row;
}
} // namespace

TGrBoxTracking::TGrBoxTracking(QWidget* parent) : QGroupBox("Tracking mode", parent) {
    setObjectName("GrBoxTracking");
    auto stSpeed = MakeRow(this, 6, 20, 86, "StSpeed", "Start Speed", "200", 5, "SS", "Start speed",
                           "Tracking start speed");
    auto speed = MakeRow(this, 180, 20, 98, "Speed", "Tracking Speed", "200", 5, "SD",
                         "Maximum speed", "Tracking speed");
    auto accel = MakeRow(this, 6, 48, 86, "Accel", "Acceleration", "0", 0, "AL",
                         "Acceleration/deceleration", "Tracking acceleration");
    auto scale = MakeRow(this, 180, 48, 98, "Scale", "Scale", "1", 0, "SC", "Movement scale",
                         "Tracking scale");
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
    btnTrackApply->setGeometry(6, 78, 349, 25);
}

} // namespace zav
