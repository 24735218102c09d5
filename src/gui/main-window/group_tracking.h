#pragma once
// The tracking group at the foot of the simple-mode panel.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace zav {

class TLang;

class TGrBoxTracking : public QGroupBox {
    Q_OBJECT
public:
    explicit TGrBoxTracking(QWidget* parent);
    // The buttons' hints and the accessible names, in the language in use.
    void ApplyTexts(const TLang& lang);

    QLabel* lblTrackStSpeed;
    QLineEdit* EditTrackStSpeed;
    QToolButton* btnTrackSTSpeed;
    QLabel* lblTrackSpeed;
    QLineEdit* EditTrackSpeed;
    QToolButton* btnTrackSpeed;
    QLabel* lblTrackAccel;
    QLineEdit* EditTrackAccel;
    QToolButton* btnTrackAccel;
    QLabel* lblTrackScale;
    QLineEdit* EditTrackScale;
    QToolButton* btnTrackScale;
    QPushButton* btnTrackApply;
};

} // namespace zav
