// The whole program against the controller simulator over a real pseudo-terminal: the
// request of one program, from recording to completion, sent from the main window.

#include <QtTest>

#include "main-window/form1.h"
#include "settings/form_err_nastr.h"
#include "settings/form_prog_prop.h"
#include "test_support.h"
#include "zavsim.h"

using namespace zav;
using namespace zav::test;

namespace {
// The program's settings name COM 1, and the simulator's link is that port.
zavsim::TSimOptions SimulatorOnCom1(TAppDir& dir) {
    dir.WritePortSettings({"1"});
    zavsim::TSimOptions options;
    options.Port = 1;
    options.PortsDir = (dir.Path() + "/ports").toStdString();
    return options;
}
} // namespace

class TestWholeProgram : public QObject {
    Q_OBJECT
private slots:
    void oneProgramFromRecordingToCompletion();
    void settingsChangedInDialogsAreBackAfterRestart();
    void lostPortIsReopenedWhenItsDeviceIsBack();
    void longSendShowsItsProgressAndStopsOnEsc();
};

void TestWholeProgram::oneProgramFromRecordingToCompletion() {
    TAppDir dir;
    zavsim::TSimOptions options = SimulatorOnCom1(dir);
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

    c.MemoSend().SetLines({"LD1", "BG", "EN", "AL0", "SD200", "DL", "MV200", "ED", "ST1"});
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

// The simulator hangs up, then a new one takes its link: the window's own timer finds
// it, and the port buttons and the bottom line follow.
void TestWholeProgram::lostPortIsReopenedWhenItsDeviceIsBack() {
    TAppDir dir;
    zavsim::TSimOptions options = SimulatorOnCom1(dir);
    options.HangupAfter = 1;
    auto sim = std::make_unique<zavsim::TSimulator>(options);
    sim->Start();
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.Controller().Port().Write("BG*", 3); // the simulator hangs up on it
    QTRY_VERIFY_WITH_TIMEOUT(form.btnOpenPort->isEnabled(), 10000);

    options.HangupAfter.reset();
    sim.reset();
    sim = std::make_unique<zavsim::TSimulator>(options);
    sim->Start();
    QTRY_VERIFY_WITH_TIMEOUT(!form.btnOpenPort->isEnabled(), 10000);
    QVERIFY(form.PanelPortProp->Caption().contains(QString::fromStdString(sim->SlavePath())));
}

void TestWholeProgram::settingsChangedInDialogsAreBackAfterRestart() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1);
    QVERIFY(com1.Ok());
    TMessageBoxCatcher boxes;
    QStringList firstRunLog;
    {
        TForm1 form;
        form.show();
        auto errors = OnShown<TFormErrNastr>([](TFormErrNastr* dialog) {
            dialog->RbtnEr9_NoReact->click();
            dialog->SpinEditTime->setValue(4321);
            dialog->btnOk->click();
        });
        form.mmNastrError->trigger();
        auto program = OnShown<TFormProgProp>([](TFormProgProp* dialog) {
            dialog->chBoxSaveLogs->click();
            dialog->chboxLoadLogs->click();
            dialog->EditUnitsName->setText("mm");
            dialog->btnOK->click();
        });
        form.mmNastrLogs->trigger();
        form.rgrSingl_Mult->Button(1)->click();
        form.MemoLog->AddLine("a line of the first run");
        firstRunLog = form.MemoLog->Lines();
        form.close();
    }
    QVERIFY(boxes.Texts.isEmpty());

    TForm1 form;
    const TCommonDatas& d = form.Controller().CommonDatas();
    QCOMPARE(d.ReplyTimeout.load(), 4321);
    QCOMPARE(d.StopOnDataError.load(), std::uint8_t{0});
    QVERIFY(d.SaveWorkLog && d.ShowLoadLog);
    QCOMPARE(d.UnitsName, std::string("mm"));
    QCOMPARE(form.rgrSingl_Mult->ItemIndex(), 1);
    QVERIFY(form.PanelMultC->panelLoadAns->isVisibleTo(&form));
    QVERIFY(form.Controller().Port().Connected());
    QVERIFY(boxes.Texts.isEmpty());

    QFile log(dir.Path() + "/Log/work.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLatin1(log.readAll()), firstRunLog.join("\r\n") + "\r\n");
    form.close();
}

// F5 sends a 2,000-command list at 9600 baud; the bottom line shows its progress, the
// grid marks the row in flight, and Esc stops it after that row's reply.
void TestWholeProgram::longSendShowsItsProgressAndStopsOnEsc() {
    TAppDir dir;
    zavsim::TSimOptions options = SimulatorOnCom1(dir);
    options.Baud = 9600;
    options.TimeScale = 0;
    zavsim::TSimulator sim(options);
    sim.Start();

    TMessageBoxCatcher boxes;
    TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); }); // extended mode
    form.show();
    form.activateWindow();                              // no window manager under Xvfb does it
    QVERIFY(QTest::qWaitForWindowActive(&form, 20000)); // F5 and Esc act on the active window
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());
    c.MemoSend().SetLines(std::vector<std::string>(2000, "BG"));
    QPushButton* stop = Find<QPushButton>(form, "btnStopSend");
    QVERIFY(stop && !stop->isEnabled());

    QTest::keyClick(&form, Qt::Key_F5);
    QProgressBar* bar = form.SendProgressBar->Bar();
    QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible() && c.SendProgress().State().Line > 5, 20000);
    QVERIFY(stop->isEnabled());
    QVERIFY(bar->text().contains(" 2000"));
    QVERIFY(form.PanelMultC->StringGridSend->GridModel()->MarkedRow() >= 0);

    QTest::keyClick(&form, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!c.ExchangeRunning(), 20000);
    const QString stopped = QString::fromStdString(c.Lang().Message(msgSendStoppedAtLine));
    QTRY_VERIFY_WITH_TIMEOUT(form.MemoLog->Lines().last().startsWith(stopped), 20000);
    const int line = form.MemoLog->Lines().last().mid(stopped.size()).section(' ', 0, 0).toInt();
    QCOMPARE(sim.Requests().size(), std::size_t(line));
    QVERIFY(line < 2000);
    // The end reaches the window after the exchange thread has finished.
    QTRY_VERIFY_WITH_TIMEOUT(!bar->isVisible() && !stop->isEnabled(), 20000);
    QCOMPARE(form.PanelMultC->StringGridSend->GridModel()->MarkedRow(), -1);
    QVERIFY(boxes.Texts.isEmpty());
    form.close();
}

QTEST_MAIN(TestWholeProgram)
#include "whole_program_test.moc"
