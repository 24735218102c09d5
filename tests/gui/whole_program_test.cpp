// The whole program against the controller simulator over a real pseudo-terminal: the
// request of one program, from recording to completion, sent from the main window.

#include <QtTest>

#include "main-window/form1.h"
#include "test_support.h"
#include "zavsim.h"

using namespace zav;
using namespace zav::test;

class TestWholeProgram : public QObject {
    Q_OBJECT
private slots:
    void oneProgramFromRecordingToCompletion();
};

void TestWholeProgram::oneProgramFromRecordingToCompletion() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    zavsim::TSimOptions options;
    options.Port = 1;
    options.PortsDir = (dir.Path() + "/ports").toStdString();
    options.TimeScale = 0.05; // MV200 at 200 steps/s: 50 ms
    zavsim::TSimulator sim(options);
    sim.Start();

    TMessageBoxCatcher boxes;
    TForm1 form;
    form.show();
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());

    QList<QColor> indicator1;
    auto* shpX = Find<TShape>(form, "shpX");
    QVERIFY(shpX);
    connect(shpX, &TShape::ColorChanged, this, [&](QColor color) { indicator1.append(color); });
    const int logBefore = form.MemoLog->Lines().size();

    c.MemoSend.SetLines({"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"});
    form.btnRunTRClick();

    const QColor green(0, 128, 0), red(255, 0, 0), yellow(255, 255, 0);
    QTRY_VERIFY_WITH_TIMEOUT(indicator1.size() >= 4 && indicator1.last() == green, 20000);
    QCOMPARE(indicator1, (QList<QColor>{yellow, green, red, green}));

    auto m = [&](int n) { return QString::fromStdString(c.Lang().Message(n)); };
    const QStringList log = form.MemoLog->Lines().mid(logBefore);
    QCOMPARE(log, (QStringList{m(30) + "1" + m(31), m(28) + "1" + m(29), m(30) + "1" + m(32),
                               QString::fromStdString(c.CommonDatas().TextCoord) + " 1: " +
                                   QString::fromStdString(c.CommonDatas().TextProgramExecuting),
                               m(30) + "1" + m(35)}));
    QVERIFY(boxes.Texts.isEmpty());
    QCOMPARE(sim.Requests().size(), std::size_t{9});
    form.close();
}

QTEST_MAIN(TestWholeProgram)
#include "whole_program_test.moc"
