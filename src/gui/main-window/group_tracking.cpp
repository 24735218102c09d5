#include "main-window/group_tracking.h"

#include <QGridLayout>

#include "common/at_least.h"
#include "common/text_icon.h"
#include "localisation/lang.h"

namespace zav {

namespace {
struct TTrackRow {
    QLabel* label;
    QLineEdit* edit;
    QToolButton* button;
};

TTrackRow MakeRow(QWidget* parent, const char* name, const QString& caption, const QString& text,
                  int maxLength, const QString& icon) {
    TTrackRow row;
    row.label = new QLabel(caption, parent);
    row.label->setObjectName(QString("lblTrack") + name);
    row.edit = ValueField(text, 48, parent);
    row.edit->setObjectName(QString("EditTrack") + name);
    row.label->setBuddy(row.edit);
    if (maxLength > 0)
        row.edit->setMaxLength(maxLength);
    row.button = new QToolButton(parent);
    row.button->setIcon(TextIcon(icon));
    row.button->setFocusPolicy(Qt::StrongFocus);
    row.button->setMinimumSize(23, 20);
    return row;
}

// Each row's command, the hint of its button and the messages naming its value and
// what its button does.
struct TTrackTexts {
    const char* icon;
    int hint, valueName, sendName;
};
constexpr TTrackTexts TrackTexts[] = {
    {"SS", msgStartSpeed, msgTrackStartSpeed, msgSendTrackStartSpeed},
    {"SD", msgMaximumSpeed, msgTrackSpeed, msgSendTrackSpeed},
    {"AL", msgAccelerationHint, msgTrackAcceleration, msgSendTrackAcceleration},
    {"SC", msgMovementScale, msgTrackScale, msgSendTrackScale},
};
} // namespace

TGrBoxTracking::TGrBoxTracking(QWidget* parent) : QGroupBox("Tracking mode", parent) {
    setObjectName("GrBoxTracking");
    auto stSpeed = MakeRow(this, "StSpeed", "Start Speed", "200", 5, TrackTexts[0].icon);
    auto speed = MakeRow(this, "Speed", "Tracking Speed", "200", 5, TrackTexts[1].icon);
    auto accel = MakeRow(this, "Accel", "Acceleration", "0", 0, TrackTexts[2].icon);
    auto scale = MakeRow(this, "Scale", "Scale", "1", 0, TrackTexts[3].icon);
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

void TGrBoxTracking::ApplyTexts(const TLang& lang) {
    auto text = [&lang](int n) { return QString::fromStdString(lang.Message(n)); };
    QLineEdit* edits[] = {EditTrackStSpeed, EditTrackSpeed, EditTrackAccel, EditTrackScale};
    QToolButton* buttons[] = {btnTrackSTSpeed, btnTrackSpeed, btnTrackAccel, btnTrackScale};
    for (int i = 0; i < 4; ++i) {
        const TTrackTexts& t = TrackTexts[i];
        edits[i]->setAccessibleName(text(t.valueName));
        buttons[i]->setAccessibleName(QString("%1 %2").arg(t.icon, text(t.sendName)));
        buttons[i]->setToolTip(text(t.hint));
    }
}

} // namespace zav
