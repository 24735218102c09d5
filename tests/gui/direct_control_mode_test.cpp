// Direct Control belongs to the extended mode: a box left ticked while the window is in
// simple mode keeps its tick but has no effect until the extended mode is back.

#include <QtTest>

#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestDirectControlMode : public QObject {
    Q_OBJECT
private slots:
    void actsOnlyInExtendedMode();
};

void TestDirectControlMode::actsOnlyInExtendedMode() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
    form.show();
    QCheckBox* box = form.PanelMultC->chbDirectControl;
    box->click();
    const TCommonDatas& datas = form.Controller().CommonDatas();
    // Mode, then whether the box is ticked and whether direct control is in force.
    const struct {
        int mode;
        bool inForce;
    } steps[] = {{1, true}, {0, false}, {1, true}};
    for (const auto& step : steps) {
        form.rgrSingl_Mult->Button(step.mode)->click();
        QVERIFY(box->isChecked());
        QCOMPARE(datas.DirectControl.load(), step.inForce);
    }
    form.close();
}

QTEST_MAIN(TestDirectControlMode)
#include "direct_control_mode_test.moc"
