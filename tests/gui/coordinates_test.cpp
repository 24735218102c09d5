// Coordinate selection and state indicators: the check boxes and the caption of the
// coordinate panel, the indicator colours, the coordinate state dialog and the
// coordinate selection dialog.

#include <QAction>
#include <QTest>
#include <QTimer>

#include "main-window/form1.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

namespace {
const QColor Green(0, 128, 0), Red(255, 0, 0), Yellow(255, 255, 0), Black(0, 0, 0);

QString Caption(TForm1& form, const std::string& digits) {
    return QString::fromStdString(form.Controller().CommonDatas().TextCoordinates + digits);
}

bool ProgramButtonsEnabled(TForm1& form) {
    const auto& p = *form.PanelSingeC;
    return p.btnPusk->isEnabled() && p.btnStop->isEnabled() && p.btnLoad->isEnabled() &&
           p.btnStart->isEnabled();
}

bool ProgramButtonsDisabled(TForm1& form) {
    const auto& p = *form.PanelSingeC;
    return !p.btnPusk->isEnabled() && !p.btnStop->isEnabled() && !p.btnLoad->isEnabled() &&
           !p.btnStart->isEnabled();
}
} // namespace

class TestCoordinates : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checkBoxesSelectCoordinates();
    void settingTheSelectionFiresTheBoxes();
    void indicatorsFollowStates();
    void stateDialogSetsStatesHighestLast();
    void stateDialogLogsExecutingAgain();
    void selectionDialogSetsCoordinatesInOrder();

private:
    std::unique_ptr<TAppDir> dir_;
    std::unique_ptr<TMessageBoxCatcher> boxes_;
    std::unique_ptr<TForm1> form_;
};

void TestCoordinates::init() {
    dir_ = std::make_unique<TAppDir>();
    boxes_ = std::make_unique<TMessageBoxCatcher>();
    form_ = std::make_unique<TForm1>();
}

void TestCoordinates::cleanup() {
    form_->close();
    form_.reset();
    boxes_.reset();
    dir_.reset();
}

void TestCoordinates::checkBoxesSelectCoordinates() {
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    auto& panel = *form.PanelChanelState;
    QCOMPARE(form.PanelCoordinates->Caption(), Caption(form, "1  "));
    QVERIFY(panel.ChboxCoord1->isChecked());
    QVERIFY(!panel.chboxCoord2->isChecked() && !panel.chboxCoord3->isChecked());

    panel.chboxCoord3->click();
    QVERIFY(datas.Coord1Selected && !datas.Coord2Selected && datas.Coord3Selected);
    QCOMPARE(form.PanelCoordinates->Caption(), Caption(form, "1  3  "));
    panel.ChboxCoord1->click();
    panel.chboxCoord3->click();
    QVERIFY(!datas.Coord1Selected && !datas.Coord2Selected && !datas.Coord3Selected);
    QCOMPARE(form.PanelCoordinates->Caption(), Caption(form, ""));
}

void TestCoordinates::settingTheSelectionFiresTheBoxes() {
    // The boxes' click handler reads all three boxes back while the setter is still
    // writing them; whatever the order, flags, boxes and caption end up agreeing.
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    auto& panel = *form.PanelChanelState;
    const bool cases[][3] = {{false, true, true},
                             {true, false, false},
                             {false, false, true},
                             {true, true, true},
                             {false, false, false}};
    for (const auto& c : cases) {
        datas.SetSelectedCoords(c[0], c[1], c[2]);
        QCOMPARE(datas.Coord1Selected, c[0]);
        QCOMPARE(datas.Coord2Selected, c[1]);
        QCOMPARE(datas.Coord3Selected, c[2]);
        QCOMPARE(panel.ChboxCoord1->isChecked(), c[0]);
        QCOMPARE(panel.chboxCoord2->isChecked(), c[1]);
        QCOMPARE(panel.chboxCoord3->isChecked(), c[2]);
        std::string digits;
        for (int n = 0; n < 3; ++n)
            if (c[n])
                digits += std::to_string(n + 1) + "  ";
        QCOMPARE(form.PanelCoordinates->Caption(), Caption(form, digits));
    }
}

void TestCoordinates::indicatorsFollowStates() {
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    auto& panel = *form.PanelChanelState;
    QCOMPARE(panel.shpX->Color(), Green);
    QCOMPARE(panel.shpY->Color(), Green);
    QCOMPARE(panel.shpZ->Color(), Green);

    datas.SetCoordState(2, 1);
    QCOMPARE(panel.shpY->Color(), Red);
    QCOMPARE(form.MemoLog->Lines().last(), QString("Coordinate 2: program executing"));
    datas.SetCoordState(3, 3);
    QCOMPARE(panel.shpZ->Color(), Black);
    datas.SetCoordState(1, 7); // no such state: the colour stays
    QCOMPARE(panel.shpX->Color(), Green);

    datas.SetCoordState(2, 2);
    QCOMPARE(panel.shpY->Color(), Yellow);
    QVERIFY(ProgramButtonsDisabled(form));
    datas.SetCoordState(2, 0);
    QVERIFY(ProgramButtonsEnabled(form));

    // In extended mode a recording still disables the buttons, but the end of it does
    // not enable them.
    form.rgrSingl_Mult->Button(1)->click();
    datas.SetCoordState(2, 2);
    QVERIFY(ProgramButtonsDisabled(form));
    datas.SetCoordState(2, 0);
    QVERIFY(ProgramButtonsDisabled(form));
}

void TestCoordinates::stateDialogSetsStatesHighestLast() {
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    bool preselected = false;
    auto driver = OnShown<TFormColorIndicators>([&](TFormColorIndicators* dialog) {
        preselected = dialog->isModal() && dialog->rgr1->ItemIndex() == 0 &&
                      dialog->rgr2->ItemIndex() == 0 && dialog->rgr3->ItemIndex() == 0;
        dialog->rgr1->Button(2)->click(); // communication
        dialog->rgr2->Button(3)->click(); // pause
        dialog->btnOK->click();
    });
    form.PanelChanelState->btnSetCoordStates->click();

    QVERIFY(preselected);
    QCOMPARE(int(datas.Coord1State), 2);
    QCOMPARE(int(datas.Coord2State), 3);
    QCOMPARE(int(datas.Coord3State), 0);
    QCOMPARE(form.PanelChanelState->shpX->Color(), Yellow);
    QCOMPARE(form.PanelChanelState->shpY->Color(), Black);
    // The pause was set after the communication: recording is off, buttons enabled.
    QVERIFY(!datas.Recording);
    QVERIFY(ProgramButtonsEnabled(form));
}

void TestCoordinates::stateDialogLogsExecutingAgain() {
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    datas.SetCoordState(3, 1);
    const int before = form.MemoLog->Lines().size();
    {
        TFormColorIndicators dialog(form.Controller(), &form);
        QCOMPARE(dialog.rgr3->ItemIndex(), 1);
        dialog.btnOK->click();
    }
    QCOMPARE(form.MemoLog->Lines().size(), before + 1);
    QCOMPARE(form.MemoLog->Lines().last(), QString("Coordinate 3: program executing"));

    // Closing without OK changes nothing.
    {
        TFormColorIndicators dialog(form.Controller(), &form);
        dialog.rgr3->Button(0)->click();
        dialog.reject();
    }
    QCOMPARE(int(datas.Coord3State), 1);
}

void TestCoordinates::selectionDialogSetsCoordinatesInOrder() {
    TForm1& form = *form_;
    TCommonDatas& datas = form.Controller().CommonDatas();
    auto* menuItem = Find<QAction>(form, "mmSettsCoord");
    menuItem->trigger();
    QPointer<TFormCoord> dialog = form.FormCoord;
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
    QVERIFY(dialog->CheckBox1->isChecked() && !dialog->CheckBox2->isChecked());
    menuItem->trigger();
    QCOMPARE(form.FormCoord.data(), dialog.data());

    dialog->CheckBox1->setChecked(false);
    dialog->CheckBox2->setChecked(true);
    dialog->CheckBox3->setChecked(false);
    dialog->btnOk->click();
    QVERIFY(!datas.Coord1Selected && datas.Coord2Selected && !datas.Coord3Selected);
    QVERIFY(!form.PanelChanelState->ChboxCoord1->isChecked());
    QVERIFY(form.PanelChanelState->chboxCoord2->isChecked());
    QVERIFY(!form.PanelChanelState->chboxCoord3->isChecked());
    QCOMPARE(form.PanelCoordinates->Caption(), Caption(form, "2  "));
    QTRY_VERIFY(!dialog);
    QVERIFY(!form.FormCoord);
}

QTEST_MAIN(TestCoordinates)
#include "coordinates_test.moc"
