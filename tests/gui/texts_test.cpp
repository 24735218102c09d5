// What the window says and how: the colour of each log line, the scale controls after a
// restart, and the texts that follow the window's language.

#include <QtTest>

#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void eachLogLineHasItsOwnColour_data();
    void eachLogLineHasItsOwnColour();
    void scaleControlsFollowTheUnitsAfterRestart_data();
    void scaleControlsFollowTheUnitsAfterRestart();
};

void TestTexts::eachLogLineHasItsOwnColour_data() {
    QTest::addColumn<QString>("replies");
    QTest::addColumn<QList<bool>>("red"); // of each new line
    QTest::newRow("error, then a recording")
        << "E16*LD1*E10*ED*E10*" << QList<bool>{true, false, false};
    QTest::newRow("two errors, then a start")
        << "E19*E16*ST1*E10*" << QList<bool>{true, true, false, false};
    QTest::newRow("an error between two ordinary lines")
        << "LD1*E10*E26*ED*E10*" << QList<bool>{false, true, false};
}

void TestTexts::eachLogLineHasItsOwnColour() {
    QFETCH(QString, replies);
    QFETCH(QList<bool>, red);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.show();
    TMemoLog& log = *form.MemoLog;
    const int before = log.Lines().size();
    form.Controller().ProcessReplies(replies.toStdString());
    QTRY_COMPARE(log.Lines().size(), before + red.size());
    const QColor text = log.palette().color(QPalette::Text);
    for (int i = 0; i < red.size(); ++i)
        QVERIFY2(log.LineColor(before + i) == (red[i] ? QColor(255, 0, 0) : text),
                 qPrintable(log.Lines()[before + i]));
    form.close();
}

void TestTexts::scaleControlsFollowTheUnitsAfterRestart_data() {
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("scale");
    QTest::newRow("other units") << 1 << 2.5;
    QTest::newRow("steps") << 0 << 1.0;
}

void TestTexts::scaleControlsFollowTheUnitsAfterRestart() {
    QFETCH(int, units);
    QFETCH(double, scale);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    {
        TForm1 form;
        form.show();
        TPanelUnits& strip = *form.PanelUnits;
        strip.rgrUnits->Button(units)->click();
        if (units == 1) {
            strip.EditStepsToUnits->setText("2.5");
            strip.btnScaleChange->click();
        }
        form.close(); // saves the unit and the scale
    }
    TForm1 again;
    again.show();
    TPanelUnits& strip = *again.PanelUnits;
    QCOMPARE(strip.rgrUnits->ItemIndex(), units);
    QCOMPARE(again.Controller().CommonDatas().Scale, scale);
    for (QWidget* w : std::initializer_list<QWidget*>{
             strip.GrBoxStepsToUnits, strip.Label3, strip.EditStepsToUnits, strip.lblScale,
             strip.lblSteps, strip.lblTrunc, strip.btnScaleChange})
        QVERIFY2(w->isEnabled() == (units == 1), qPrintable(w->objectName()));
    again.close();
}

QTEST_MAIN(TestTexts)
#include "texts_test.moc"
