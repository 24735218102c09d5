#include "main-window/form_color_indicators.h"

#include <QGridLayout>
#include <algorithm>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"
#include "common/shape.h"

namespace zav {

namespace {
QColor StateColor(const TCommonDatas& datas, int state) {
    const TColor c = datas.StateColors[state];
    return QColor(c.r, c.g, c.b);
}

// The squares of the legend and of the groups: 15 by 15 pixels.
constexpr int SquareSide = 15;

// A state group: four caption-less items, each with a square of its state's colour.
class TStateGroup : public TRadioGroup {
public:
    TStateGroup(const QString& name, const QString& caption, const TCommonDatas& datas,
                QWidget* parent)
        : TRadioGroup(name, caption, {"", "", "", ""}, 1, parent) {
        for (int state = 0; state < 4; ++state) {
            auto* square =
                new TShape(name + "Color" + QString::number(state), StateColor(datas, state), this);
            square->setFixedSize(SquareSide, SquareSide);
            SetCompanion(state, square);
        }
    }
};
} // namespace

TFormColorIndicators::TFormColorIndicators(TController& controller, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      controller_(controller) {
    setObjectName("FormColorIndicators");
    setWindowTitle("Coordinates mode");
    const TCommonDatas& datas = controller_.CommonDatas();

    // The legend on the left, the three groups beside it, OK across the bottom; the
    // window takes the size its contents ask for.
    auto* grid = new QGridLayout(this);
    lblMode = new QLabel("Mode:", this);
    lblMode->setObjectName("lblMode");
    grid->addWidget(lblMode, 0, 0, 1, 2);
    const char* names[] = {"LabelGreen", "LabelRed", "LabelYellow", "LabelBlack"};
    const char* captions[] = {"Standby", "Programe executing", "Communication", "Pause"};
    QLabel** labels[] = {&LabelGreen, &LabelRed, &LabelYellow, &LabelBlack};
    for (int state = 0; state < 4; ++state) {
        auto* square = new TShape(QString("Legend%1").arg(state), StateColor(datas, state), this);
        square->setFixedSize(SquareSide, SquareSide);
        auto* label = new QLabel(captions[state], this);
        label->setObjectName(names[state]);
        *labels[state] = label;
        grid->addWidget(square, state + 1, 0);
        grid->addWidget(label, state + 1, 1);
    }
    TRadioGroup** groups[] = {&rgr1, &rgr2, &rgr3};
    for (int n = 0; n < 3; ++n) {
        *groups[n] = new TStateGroup(QString("rgr%1").arg(n + 1), QString("%1 coord").arg(n + 1),
                                     datas, this);
        grid->addWidget(*groups[n], 0, 2 + n, 6, 1);
    }
    btnOK = new QPushButton(QString::fromStdString(controller_.Lang().Message(msgOk)), this);
    btnOK->setObjectName("btnOK");
    grid->addWidget(btnOK, 6, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    ApplyLanguage();
    for (int n = 1; n <= 3; ++n) {
        const int state = datas.CoordState(n);
        (*groups[n - 1])->SetItemIndex(state <= 3 ? state : -1);
    }
    // Shown modally and freed by its owner; OK is not run again while it runs (a
    // message box it shows runs a nested event loop).
    (new TDialogGuard(*this, false))->Connect(btnOK, [this] { btnOKClick(); });
}

void TFormColorIndicators::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (!LoadDialogTexts(lang, 24))
        return;
    setWindowTitle(DialogText(lang, 18));
    lblMode->setText(DialogText(lang, 19));
    LabelGreen->setText(DialogText(lang, 20));
    LabelRed->setText(DialogText(lang, 21));
    LabelYellow->setText(DialogText(lang, 22));
    LabelBlack->setText(DialogText(lang, 23));
    rgr1->setTitle("1 " + DialogText(lang, 24));
    rgr2->setTitle("2 " + DialogText(lang, 24));
    rgr3->setTitle("3 " + DialogText(lang, 24));
}

void TFormColorIndicators::btnOKClick() {
    // The coordinates with the highest chosen state are set last; they decide Recording
    // and the program buttons.
    TCommonDatas& datas = controller_.CommonDatas();
    TRadioGroup* groups[] = {rgr1, rgr2, rgr3};
    for (int state = 0; state <= 3; ++state)
        for (int n = 1; n <= 3; ++n)
            if (groups[n - 1]->ItemIndex() == state) {
                datas.SetCoordState(n, static_cast<std::uint8_t>(state));
                // The operator tells the state: a stop still awaited is no longer.
                controller_.SimpleMode().StopEnded(n);
            }
    accept();
}

} // namespace zav
