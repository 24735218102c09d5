// What keeps a motion from leaving twice or unasked, through the window against the
// controller simulator: a repeated press, closing while a list is being sent, a closed
// port, and a dialog's OK pressed again while its message box is open.

#include <QMessageBox>
#include <QtTest>
#include <csignal>

#include "common/signal_close.h"
#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_port_name.h"
#include "test_support.h"
#include "zavsim.h"

using namespace zav;
using namespace zav::test;

namespace {
zavsim::TSimOptions SimulatorOnCom1(TAppDir& dir) {
    dir.WritePortSettings({"1"});
    zavsim::TSimOptions options;
    options.Port = 1;
    options.PortsDir = (dir.Path() + "/ports").toStdString();
    options.TimeScale = 0;
    return options;
}

// Answers every message box when it is shown, with answer's button (or accepts a box
// without one), after running inside once; keeps the texts.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : watcher_([this, answer](QObject* watched) {
              if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                  Texts << box->text();
                  QPointer<QMessageBox> guard(box);
                  QTimer::singleShot(0, box, [this, guard, answer] {
                      if (auto inside = std::exchange(Inside, nullptr))
                          inside();
                      if (!guard)
                          return;
                      if (QAbstractButton* button = guard->button(answer))
                          button->click();
                      else
                          guard->accept();
                  });
              }
              return false; // keeps watching
          }) {}
    QStringList Texts;
    std::function<void()> Inside;

private:
    TShowWatcher watcher_;
};

QString Message(TController& c, int n) {
    return QString::fromStdString(c.Lang().Message(n));
}

void SetExtendedMode(TForm1& form) {
    form.rgrSingl_Mult->SetItemIndex(1);
}
} // namespace

class TestSafety : public QObject {
    Q_OBJECT
private slots:
    void secondPressWithinDoubleClickIntervalIsIgnored();
    void closedPortSendsNothingAndSaysWhichPort();
    void closingDuringASendStopsItAfterTheReplyInFlight();
    void dialogOkAgainWhileItsMessageBoxIsOpenIsIgnored();
};

// Each control that sends, pressed twice within the interval: the second press sends
// nothing and the log says so; with no interval the second press sends again. Send and
// the simple-mode buttons are disabled while the first press's exchange runs.
void TestSafety::secondPressWithinDoubleClickIntervalIsIgnored() {
    struct TRow {
        const char* name;
        bool extended;
        bool direct;
        std::function<QAbstractButton*(TForm1&)> button;
        std::function<void(TForm1&)> press;
    };
    auto click = [](auto control) { return [control](TForm1& f) { control(f)->click(); }; };
    auto send = [](TForm1& f) -> QAbstractButton* { return f.PanelMultC->btnRunTR; };
    auto write = [](TForm1& f) -> QAbstractButton* { return f.PanelSingeC->btnLoad; };
    auto pusk = [](TForm1& f) -> QAbstractButton* { return f.PanelSingeC->btnPusk; };
    auto track = [](TForm1& f) -> QAbstractButton* {
        return f.PanelSingeC->GrBoxTracking->btnTrackSpeed;
    };
    auto bg = [](TForm1& f) -> QAbstractButton* { return f.PanelMultC->ToolPanel->btnBG; };
    auto sd = [](TForm1& f) -> QAbstractButton* { return f.PanelMultC->ToolPanel->btnSD; };
    const TRow rows[] = {
        {"Send", true, false, send, click(send)},
        {"F5", true, false, send, [](TForm1& f) { QTest::keyClick(&f, Qt::Key_F5); }},
        {"Write", false, false, write, click(write)},
        {"Write and Start", false, false, pusk, click(pusk)},
        {"tracking button", false, false, track, click(track)},
        {"Enter in a tracking field", false, false, track,
         [](TForm1& f) {
             QTest::keyClick(f.PanelSingeC->GrBoxTracking->EditTrackSpeed, Qt::Key_Return);
         }},
        {"tool button in direct control", true, true, bg, click(bg)},
        {"Enter in a tool field in direct control", true, true, sd,
         [](TForm1& f) {
             f.PanelMultC->ToolPanel->EditSD->setText("100");
             QTest::keyClick(f.PanelMultC->ToolPanel->EditSD, Qt::Key_Return);
         }},
    };
    const int systemInterval = QApplication::doubleClickInterval();
    for (const TRow& row : rows) {
        for (const bool withinInterval : {true, false}) {
            const QByteArray name = QByteArray(row.name) + (withinInterval ? "" : " (no interval)");
            const char* what = name.constData();
            // The exchanges must end between the presses: the interval is made long
            // enough for that, or none at all.
            QApplication::setDoubleClickInterval(withinInterval ? 600000 : 0);
            TAppDir dir;
            zavsim::TSimulator sim(SimulatorOnCom1(dir));
            sim.Start();
            TBoxAnswerer boxes;
            TForm1 form([&row](TForm1& f) {
                if (row.extended)
                    SetExtendedMode(f);
            });
            form.show();
            form.activateWindow();
            QVERIFY2(QTest::qWaitForWindowActive(&form, 20000), what);
            TController& c = form.Controller();
            QVERIFY2(c.Port().Connected(), what);
            if (row.direct)
                form.PanelMultC->chbDirectControl->setChecked(true);
            else if (row.extended)
                c.MemoSend.SetLines({"BG", "EN"});

            row.press(form);
            QVERIFY2(form.Sending(), what);
            if (row.extended) {
                QVERIFY2(!form.PanelMultC->btnRunTR->isEnabled(), what);
                QVERIFY2(form.PanelMultC->btnStopSend->isEnabled(), what);
            } else {
                for (QPushButton* b : {form.PanelSingeC->btnLoad, form.PanelSingeC->btnStart,
                                       form.PanelSingeC->btnPusk})
                    QVERIFY2(!b->isEnabled(), qPrintable(name + " " + b->objectName()));
            }
            QAbstractButton* button = row.button(form);
            QTRY_VERIFY2_WITH_TIMEOUT(!form.Sending() && button->isEnabled(), what, 20000);
            const std::size_t once = sim.Requests().size();
            QVERIFY2(once > 0, what);

            const int logBefore = form.MemoLog->Lines().size();
            row.press(form);
            if (withinInterval) {
                // An accepted press would have started its send by now.
                QVERIFY2(!form.Sending(), what);
                const QStringList log = form.MemoLog->Lines().mid(logBefore);
                QVERIFY2(log.size() == 1 && log[0].startsWith(Message(c, msgPressIgnored)) &&
                             log[0].endsWith(Message(c, msgPressIgnoredEnd)),
                         qPrintable(name + ": " + log.join(" | ")));
            } else {
                QTRY_VERIFY2_WITH_TIMEOUT(sim.Requests().size() == 2 * once, what, 20000);
            }
            QVERIFY2(boxes.Texts.isEmpty(), qPrintable(name + ": " + boxes.Texts.join(" | ")));
        }
    }
    QApplication::setDoubleClickInterval(systemInterval);
}

// With the port closed, every kind of control that sends says that the port (and which)
// is closed, sends nothing and keeps the list.
void TestSafety::closedPortSendsNothingAndSaysWhichPort() {
    struct TRow {
        const char* name;
        bool extended;
        std::function<void(TForm1&)> press;
    };
    const TRow rows[] = {
        {"Write", false, [](TForm1& f) { f.PanelSingeC->btnLoad->click(); }},
        {"Start", false, [](TForm1& f) { f.PanelSingeC->btnStart->click(); }},
        {"Write and Start", false, [](TForm1& f) { f.PanelSingeC->btnPusk->click(); }},
        {"Stop", false,
         [](TForm1& f) {
             f.Controller().CommonDatas().SetCoordStates(1, 0, 0);
             f.PanelSingeC->btnStop->click();
         }},
        {"tracking", false,
         [](TForm1& f) { f.PanelSingeC->GrBoxTracking->btnTrackApply->click(); }},
        {"Send", true,
         [](TForm1& f) {
             f.Controller().MemoSend.SetLines({"BG", "MV100"});
             f.PanelMultC->btnRunTR->click();
         }},
        {"direct control", true,
         [](TForm1& f) {
             f.PanelMultC->chbDirectControl->setChecked(true);
             f.PanelMultC->ToolPanel->btnBG->click();
         }},
    };
    for (const TRow& row : rows) {
        TAppDir dir;
        zavsim::TSimOptions options = SimulatorOnCom1(dir);
        dir.WritePortSettings({"7"});
        options.Port = 7;
        zavsim::TSimulator sim(options);
        sim.Start();
        TBoxAnswerer boxes;
        TForm1 form([&row](TForm1& f) {
            if (row.extended)
                SetExtendedMode(f);
        });
        TController& c = form.Controller();
        QVERIFY2(c.Port().Connected(), row.name);
        form.btnClosePort->click();

        row.press(form);
        QVERIFY2(!form.Sending(), row.name);
        const std::vector<std::string> kept = c.MemoSend.Lines();
        QVERIFY2(!kept.empty(), row.name);
        QCOMPARE(form.MemoLog->Lines().last(),
                 Message(c, msgPortClosedNotSent) + "7" + Message(c, msgPortClosedNotSentEnd));
        // Opened again, the port has carried nothing of it.
        form.btnOpenPort->click();
        QVERIFY2(c.Port().Connected(), row.name);
        QVERIFY2(sim.Requests().empty(), row.name);
        QVERIFY2(c.MemoSend.Lines() == kept, row.name);
        QVERIFY2(boxes.Texts.isEmpty(), row.name);
    }
}

// Closing while a long list is sent asks first. Declined, the send goes on; agreed or on
// a termination signal (without asking), the command in flight gets its reply, nothing
// is sent after it, a recording it cut is ended with ED and said to be incomplete, and
// the program closes and saves its log.
void TestSafety::closingDuringASendStopsItAfterTheReplyInFlight() {
    struct TRow {
        const char* name;
        bool recording;
        QMessageBox::StandardButton answer; // NoButton: a termination signal
    };
    const TRow rows[] = {
        {"declined", false, QMessageBox::Cancel},
        {"agreed", false, QMessageBox::Ok},
        {"agreed inside a recording", true, QMessageBox::Ok},
        {"termination signal", false, QMessageBox::NoButton},
        {"termination signal inside a recording", true, QMessageBox::NoButton},
    };
    for (const TRow& row : rows) {
        TAppDir dir;
        zavsim::TSimOptions options = SimulatorOnCom1(dir);
        options.Baud = 9600;
        zavsim::TSimulator sim(options);
        sim.Start();
        TBoxAnswerer boxes(row.answer);
        TForm1 form([](TForm1& f) { SetExtendedMode(f); });
        form.show();
        TController& c = form.Controller();
        c.CommonDatas().SaveWorkLog = true;
        QVERIFY2(c.Port().Connected(), row.name);
        std::vector<std::string> list(2000, "BG");
        if (row.recording)
            list.front() = "LD1";
        c.MemoSend.SetLines(list);
        form.btnRunTRClick();
        QTRY_VERIFY2_WITH_TIMEOUT(c.SendProgress().State().Line > 5,
                                  qPrintable(row.name + (": " + form.MemoLog->Lines().join(" | "))),
                                  20000);

        const bool signal = row.answer == QMessageBox::NoButton;
        std::unique_ptr<TSignalCloser> closer;
        if (signal) {
            closer = std::make_unique<TSignalCloser>([&form] { form.CloseWithoutAsking(); });
            std::raise(SIGTERM);
        } else {
            form.close();
            QCOMPARE(boxes.Texts.size(), 1);
            QVERIFY2(boxes.Texts[0].startsWith(Message(c, msgCloseSending)) &&
                         boxes.Texts[0].contains(Message(c, msgListStoppedOf) + "2000"),
                     qPrintable(boxes.Texts[0]));
        }
        if (row.answer == QMessageBox::Cancel) {
            QVERIFY2(form.isVisible() && c.ExchangeRunning(), row.name);
            c.SendProgress().StopSending();
            QTRY_VERIFY2_WITH_TIMEOUT(!c.ExchangeRunning(), row.name, 20000);
            continue;
        }
        QTRY_VERIFY2_WITH_TIMEOUT(!form.isVisible(), row.name, 20000);
        QVERIFY2(boxes.Texts.size() == (signal ? 0 : 1), row.name);

        QFile file(dir.Path() + "/Log/work.log");
        QVERIFY2(file.open(QIODevice::ReadOnly), row.name);
        const QStringList log = QString::fromLocal8Bit(file.readAll()).split("\r\n");
        const QString stopped = Message(c, msgSendStoppedAtLine);
        const auto at = std::find_if(log.begin(), log.end(),
                                     [&](const QString& l) { return l.startsWith(stopped); });
        QVERIFY2(at != log.end(), qPrintable(log.join(" | ")));
        const auto line =
            static_cast<std::size_t>(at->mid(stopped.size()).section(' ', 0, 0).toInt());
        QVERIFY2(line > 5 && line < 2000, row.name);
        // The program has closed: every request it made has reached the simulator.
        std::vector<std::string> requests = sim.Requests();
        const QString cut =
            Message(c, msgCloseRecordingCut) + "1" + Message(c, msgCloseRecordingCutEnd);
        if (row.recording) {
            QVERIFY2(!requests.empty() && requests.back() == "ED", row.name);
            requests.pop_back();
            QVERIFY2(log.contains(cut), qPrintable(log.join(" | ")));
        } else {
            QVERIFY2(!log.contains(cut), row.name);
        }
        QCOMPARE(requests.size(), line);
    }
}

// Port properties with a rate the line refuses, and the port number dialog with a port
// that does not open: each OK shows a message box, and OK pressed again while it is open
// is ignored; the dialog then goes away whole.
void TestSafety::dialogOkAgainWhileItsMessageBoxIsOpenIsIgnored() {
    TAppDir dir;
    zavsim::TSimulator sim(SimulatorOnCom1(dir));
    sim.Start();
    TBoxAnswerer boxes;
    TForm1 form;
    form.show();
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());

    form.mmSettsProp->trigger();
    QPointer<TFormByteLen> byteLen = form.FormByteLen;
    QVERIFY(byteLen);
    byteLen->cbPortSpeed->setCurrentText("14400");
    boxes.Inside = [&] { byteLen->btnOK->click(); };
    byteLen->btnOK->click();
    QTRY_VERIFY(!byteLen);
    QCOMPARE(boxes.Texts.size(), 1);

    auto choose = OnShown<TFormPortName>([&](TFormPortName* dialog) {
        dialog->rgrPortName->Button(4)->click(); // Com 250: nothing there
        dialog->SpinEditPortName->setValue(250);
        boxes.Inside = [dialog] { dialog->ButtonOK->click(); };
        dialog->ButtonOK->click();
    });
    form.mmSettsPortName->trigger();
    QVERIFY(!form.FormPortName);
    QCOMPARE(boxes.Texts.size(), 2);
    QCOMPARE(c.Port().PortNumber(), 250u);
    QVERIFY(!c.Port().Connected());
}

QTEST_MAIN(TestSafety)
#include "safety_test.moc"
