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
zavsim::TSimOptions OnPort(TAppDir& dir, int port, std::uint32_t baud) {
    dir.WritePortSettings({std::to_string(port)});
    zavsim::TSimOptions options;
    options.Port = port;
    options.PortsDir = (dir.Path() + "/ports").toStdString();
    options.TimeScale = 0;
    options.Baud = baud;
    return options;
}

// A program folder, the simulator on the program's port and the main window, shown.
struct TRig {
    explicit TRig(bool extended, std::uint32_t baud = 0,
                  QMessageBox::StandardButton answer = QMessageBox::Ok, int port = 1)
        : sim(OnPort(dir, port, baud)), boxes(answer), form([extended](TForm1& f) {
              if (extended)
                  f.rgrSingl_Mult->SetItemIndex(1);
          }) {
        sim.Start();
        // A loaded machine may answer late; these tests are not about time-outs.
        form.Controller().CommonDatas().ReplyTimeout = 10000;
        form.show();
        form.activateWindow(); // F5 acts on the active window
    }
    QString M(int n) { return QString::fromStdString(form.Controller().Lang().Message(n)); }

    TAppDir dir;
    zavsim::TSimulator sim;
    TBoxAnswerer boxes;
    TForm1 form;
};

using TControl = QWidget* (*)(TForm1&);
} // namespace

class TestSafety : public QObject {
    Q_OBJECT
private slots:
    void secondPressWithinDoubleClickIntervalIsIgnored();
    void closedPortSendsNothingAndSaysWhichPort();
    void closingDuringASendStopsItAfterTheReplyInFlight();
    void dialogOkAgainWhileItsMessageBoxIsOpenIsIgnored();
};

// Each way to press a control that sends, twice within the interval: the second press
// sends nothing and the log says so; with no interval it sends again. Send and the
// simple-mode buttons are disabled while the first press's send runs.
void TestSafety::secondPressWithinDoubleClickIntervalIsIgnored() {
    struct TRow {
        const char* name;
        bool extended, direct;
        TControl button;
        TControl keyTarget = nullptr; // a key pressed in it, else a click on button
    };
    const TRow rows[] = {
        {"Send", true, false, [](TForm1& f) -> QWidget* { return f.PanelMultC->btnRunTR; }},
        {"F5", true, false, [](TForm1& f) -> QWidget* { return f.PanelMultC->btnRunTR; },
         [](TForm1& f) -> QWidget* { return &f; }},
        {"Write", false, false, [](TForm1& f) -> QWidget* { return f.PanelSingeC->btnLoad; }},
        {"Write and Start", false, false,
         [](TForm1& f) -> QWidget* { return f.PanelSingeC->btnPusk; }},
        {"tracking button", false, false,
         [](TForm1& f) -> QWidget* { return f.PanelSingeC->GrBoxTracking->btnTrackSpeed; }},
        {"Enter in a tracking field", false, false,
         [](TForm1& f) -> QWidget* { return f.PanelSingeC->GrBoxTracking->btnTrackSpeed; },
         [](TForm1& f) -> QWidget* { return f.PanelSingeC->GrBoxTracking->EditTrackSpeed; }},
        {"tool button in direct control", true, true,
         [](TForm1& f) -> QWidget* { return f.PanelMultC->ToolPanel->btnBG; }},
        {"Enter in a tool field in direct control", true, true,
         [](TForm1& f) -> QWidget* { return f.PanelMultC->ToolPanel->btnSS; },
         [](TForm1& f) -> QWidget* { return f.PanelMultC->ToolPanel->EditSS; }},
    };
    const int systemInterval = QApplication::doubleClickInterval();
    for (const TRow& row : rows) {
        for (const bool withinInterval : {true, false}) {
            const QString name = QString(row.name) + (withinInterval ? "" : " (no interval)");
            // The sends end between the presses: the interval outlasts them, or is none.
            QApplication::setDoubleClickInterval(withinInterval ? 600000 : 0);
            TRig rig(row.extended);
            TForm1& form = rig.form;
            QVERIFY2(QTest::qWaitForWindowActive(&form, 20000), qPrintable(name));
            if (row.direct)
                form.PanelMultC->chbDirectControl->setChecked(true);
            else if (row.extended)
                form.Controller().MemoSend().SetLines({"BG", "EN"});
            auto* button = static_cast<QAbstractButton*>(row.button(form));
            auto press = [&] {
                row.keyTarget
                    ? QTest::keyClick(row.keyTarget(form),
                                      row.keyTarget(form) == &form ? Qt::Key_F5 : Qt::Key_Return)
                    : button->click();
            };

            press();
            QVERIFY2(form.Sending(), qPrintable(name));
            for (QPushButton* b : {form.PanelMultC->btnRunTR, form.PanelSingeC->btnLoad,
                                   form.PanelSingeC->btnStart, form.PanelSingeC->btnPusk})
                QVERIFY2(!b->isEnabled(), qPrintable(name + " " + b->objectName()));
            QTRY_VERIFY2_WITH_TIMEOUT(!form.Sending() && button->isEnabled(), qPrintable(name),
                                      20000);
            const std::size_t once = rig.sim.Requests().size();
            const int logBefore = form.MemoLog->Lines().size();
            press();
            if (withinInterval) {
                QVERIFY2(!form.Sending(), qPrintable(name)); // an accepted press starts one
                const QStringList log = form.MemoLog->Lines().mid(logBefore);
                QVERIFY2(log.size() == 1 && log[0].startsWith(rig.M(msgPressIgnored)) &&
                             log[0].endsWith(rig.M(msgPressIgnoredEnd)),
                         qPrintable(name + ": " + log.join(" | ")));
            } else {
                QTRY_VERIFY2_WITH_TIMEOUT(once > 0 && rig.sim.Requests().size() == 2 * once,
                                          qPrintable(name), 20000);
            }
            QVERIFY2(rig.boxes.Texts.isEmpty(), qPrintable(rig.boxes.Texts.join(" | ")));
        }
    }
    QApplication::setDoubleClickInterval(systemInterval);
}

// With the port closed, each kind of control that sends says which port is closed,
// sends nothing and keeps the list.
void TestSafety::closedPortSendsNothingAndSaysWhichPort() {
    const std::pair<const char*, void (*)(TForm1&)> rows[] = {
        {"Write", [](TForm1& f) { f.PanelSingeC->btnLoad->click(); }},
        {"Start", [](TForm1& f) { f.PanelSingeC->btnStart->click(); }},
        {"Write and Start", [](TForm1& f) { f.PanelSingeC->btnPusk->click(); }},
        {"Stop",
         [](TForm1& f) {
             f.Controller().CommonDatas().SetCoordStates(1, 0, 0);
             f.PanelSingeC->btnStop->click();
         }},
        {"tracking", [](TForm1& f) { f.PanelSingeC->GrBoxTracking->btnTrackApply->click(); }},
        {"Send",
         [](TForm1& f) {
             f.rgrSingl_Mult->Button(1)->click();
             f.Controller().MemoSend().SetLines({"BG", "MV100"});
             f.PanelMultC->btnRunTR->click();
         }},
        {"direct control",
         [](TForm1& f) {
             f.rgrSingl_Mult->Button(1)->click();
             f.PanelMultC->chbDirectControl->setChecked(true);
             f.PanelMultC->ToolPanel->btnBG->click();
         }},
    };
    for (const auto& [name, press] : rows) {
        TRig rig(false, 0, QMessageBox::Ok, 7);
        TController& c = rig.form.Controller();
        rig.form.btnClosePort->click();
        press(rig.form);
        QVERIFY2(!rig.form.Sending(), name);
        const std::vector<std::string> kept = c.MemoSend().Lines();
        QVERIFY2(!kept.empty(), name);
        QCOMPARE(rig.form.MemoLog->Lines().last(),
                 rig.M(msgPortClosedNotSent) + "7" + rig.M(msgPortClosedNotSentEnd));
        // Opened again, the port has carried nothing of it.
        rig.form.btnOpenPort->click();
        QVERIFY2(c.Port().Connected() && rig.sim.Requests().empty(), name);
        QVERIFY2(c.MemoSend().Lines() == kept && rig.boxes.Texts.isEmpty(), name);
    }
}

// Closing while a long list is sent asks first. Declined, the send goes on; agreed, or on
// a termination signal without asking, the command in flight gets its reply, nothing is
// sent after it, a recording it cut is ended with ED and said to be incomplete, and the
// program closes and saves its log.
void TestSafety::closingDuringASendStopsItAfterTheReplyInFlight() {
    const std::tuple<const char*, bool, QMessageBox::StandardButton> rows[] = {
        {"declined", false, QMessageBox::Cancel},
        {"agreed", false, QMessageBox::Ok},
        {"agreed inside a recording", true, QMessageBox::Ok},
        {"termination signal", false, QMessageBox::NoButton},
        {"termination signal inside a recording", true, QMessageBox::NoButton},
    };
    for (const auto& [name, recording, answer] : rows) {
        TRig rig(true, 9600, answer);
        TForm1& form = rig.form;
        TController& c = form.Controller();
        c.CommonDatas().SaveWorkLog = true;
        std::vector<std::string> list(2000, "BG");
        if (recording)
            list.front() = "LD1";
        c.MemoSend().SetLines(list);
        form.btnRunTRClick();
        QTRY_VERIFY2_WITH_TIMEOUT(c.SendProgress().State().Line > 5,
                                  qPrintable(name + (": " + form.MemoLog->Lines().join(" | "))),
                                  20000);

        const bool signal = answer == QMessageBox::NoButton;
        std::unique_ptr<TSignalCloser> closer;
        if (signal) {
            closer = std::make_unique<TSignalCloser>([&form] { form.CloseWithoutAsking(); });
            std::raise(SIGTERM);
        } else {
            form.close();
            QVERIFY2(rig.boxes.Texts.size() == 1 &&
                         rig.boxes.Texts[0].startsWith(rig.M(msgCloseSending)) &&
                         rig.boxes.Texts[0].contains(rig.M(msgListStoppedOf) + "2000"),
                     qPrintable(rig.boxes.Texts.join(" | ")));
        }
        if (answer == QMessageBox::Cancel) {
            QVERIFY2(form.isVisible() && form.Sending(), name);
            c.SendProgress().StopSending();
            QTRY_VERIFY2_WITH_TIMEOUT(!form.Sending(), name, 20000);
            continue;
        }
        QTRY_VERIFY2_WITH_TIMEOUT(!form.isVisible(), name, 20000);
        QVERIFY2(rig.boxes.Texts.size() == (signal ? 0 : 1), name);

        QFile file(rig.dir.Path() + "/Log/work.log");
        QVERIFY2(file.open(QIODevice::ReadOnly), name);
        const QStringList log = QString::fromLocal8Bit(file.readAll()).split("\r\n");
        const QString stopped = rig.M(msgSendStoppedAtLine);
        const auto at = std::find_if(log.begin(), log.end(),
                                     [&](const QString& l) { return l.startsWith(stopped); });
        QVERIFY2(at != log.end(), qPrintable(log.join(" | ")));
        const auto line = at->mid(stopped.size()).section(' ', 0, 0).toULongLong();
        // The program has closed: every request it made has reached the simulator.
        std::vector<std::string> requests = rig.sim.Requests();
        const QString cut = rig.M(msgCloseRecordingCut) + "1" + rig.M(msgCloseRecordingCutEnd);
        QCOMPARE(log.contains(cut), recording);
        if (recording) {
            QVERIFY2(!requests.empty() && requests.back() == "ED", name);
            requests.pop_back();
        }
        QVERIFY2(line > 5 && line < 2000 && requests.size() == line, name);
    }
}

// Port properties with a rate the line refuses, and the port number dialog with a port
// that does not open: each OK shows a message box, OK pressed again while it is open is
// ignored, and the dialog then goes away whole.
void TestSafety::dialogOkAgainWhileItsMessageBoxIsOpenIsIgnored() {
    TRig rig(false);
    TController& c = rig.form.Controller();
    rig.form.mmSettsProp->trigger();
    QPointer<TFormByteLen> byteLen = rig.form.FormByteLen;
    QVERIFY(byteLen);
    byteLen->cbPortSpeed->setCurrentText("14400");
    rig.boxes.Inside = [&] { byteLen->btnOK->click(); };
    byteLen->btnOK->click();
    QTRY_VERIFY(!byteLen);
    QCOMPARE(rig.boxes.Texts.size(), 1);

    auto choose = OnShown<TFormPortName>([&](TFormPortName* dialog) {
        dialog->rgrPortName->Button(4)->click(); // Com 250: nothing there
        dialog->SpinEditPortName->setValue(250);
        rig.boxes.Inside = [dialog] { dialog->ButtonOK->click(); };
        dialog->ButtonOK->click();
    });
    rig.form.mmSettsPortName->trigger();
    QVERIFY(!rig.form.FormPortName);
    QCOMPARE(rig.boxes.Texts.size(), 2);
    QCOMPARE(c.Port().PortNumber(), 250u);
    QVERIFY(!c.Port().Connected());
}

QTEST_MAIN(TestSafety)
#include "safety_test.moc"
