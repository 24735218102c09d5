// Sending from a chosen line of the grid and the offer to resume a cut send, through the
// window against the controller simulator: nothing leaves without the operator's yes.

#include <QMessageBox>
#include <QtTest>
#include <fstream>

#include "main-window/form1.h"
#include "main-window/form_resume.h"
#include "test_support.h"
#include "zavsim.h"

using namespace zav;
using namespace zav::test;

namespace {
zavsim::TSimOptions OnPort(TAppDir& dir) {
    dir.WritePortSettings({"1"});
    zavsim::TSimOptions options;
    options.Port = 1;
    options.PortsDir = (dir.Path() + "/ports").toStdString();
    options.TimeScale = 0;
    return options;
}

// A program folder (with the journals given in its Log/), the simulator on its port and
// the main window in extended mode, shown.
struct TRig {
    TRig(QMessageBox::StandardButton answer, const std::string& journal = {})
        : sim(OnPort(dir)), boxes(answer), form(WithJournal(dir, journal)) {
        sim.Start();
        form.Controller().CommonDatas().ReplyTimeout = 10000;
        form.show();
        form.activateWindow(); // the shortcuts act on the active window
    }
    static std::function<void(TForm1&)> WithJournal(TAppDir& dir, const std::string& journal) {
        if (!journal.empty()) {
            QDir().mkpath(dir.Path() + "/Log");
            std::ofstream((dir.Path() + "/Log/send-20261209-120000-000.zvj").toStdString(),
                          std::ios::binary)
                << journal;
        }
        return [](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); };
    }
    // Waits until count requests were answered and the exchange has ended.
    bool Sent(std::size_t count) {
        return sim.WaitForRequests(count, std::chrono::seconds(20)) &&
               QTest::qWaitFor([&] { return !form.Controller().SendAction().Busy(); }, 20000);
    }

    TAppDir dir;
    zavsim::TSimulator sim;
    TBoxAnswerer boxes;
    TForm1 form;
};
} // namespace

class TestLineSendAndResume : public QObject {
    Q_OBJECT
private slots:
    void lineShortcutsSendWhatTheOperatorAgreedTo();
    void resumeOfferSendsOnlyOnResume();
};

// Shift+F5 sends from the current row, Ctrl+F5 that row alone; on a row inside a
// recording they ask first, and a "no" sends nothing.
void TestLineSendAndResume::lineShortcutsSendWhatTheOperatorAgreedTo() {
    const std::vector<std::string> list = {"BG", "LD2", "SD200", "MV100", "ED", "EN"};
    struct TRow {
        const char* name;
        Qt::KeyboardModifier modifier;
        int row; // grid row, from 1
        QMessageBox::StandardButton answer;
        bool asks;
        std::vector<std::string> sent;
    };
    const TRow rows[] = {
        {"from a line", Qt::ShiftModifier, 6, QMessageBox::Ok, false, {"EN"}},
        {"from inside a recording, agreed",
         Qt::ShiftModifier,
         3,
         QMessageBox::Ok,
         true,
         {"LD2", "SD200", "MV100", "ED", "EN"}},
        {"from inside a recording, refused", Qt::ShiftModifier, 3, QMessageBox::Cancel, true, {}},
        {"a line of a recording only, agreed",
         Qt::ControlModifier,
         4,
         QMessageBox::Ok,
         true,
         {"LD2", "SD200", "MV100", "ED"}},
        {"a line of a recording only, refused",
         Qt::ControlModifier,
         4,
         QMessageBox::Cancel,
         true,
         {}},
    };
    for (const TRow& row : rows) {
        TRig rig(row.answer);
        TForm1& form = rig.form;
        QVERIFY2(QTest::qWaitForWindowActive(&form, 20000), row.name);
        form.Controller().MemoSend().SetLines(list);
        form.PanelMultC->StringGridSend->SetCurrentGridRow(row.row);
        QTest::keyClick(&form, Qt::Key_F5, row.modifier);
        QVERIFY2(rig.boxes.Texts.size() == (row.asks ? 1 : 0), row.name);
        if (row.sent.empty()) {
            // The question was answered inside the key press: nothing went out after it.
            QVERIFY2(!form.Controller().ExchangeRunning(), row.name);
            QVERIFY2(rig.sim.Requests().empty(), row.name);
            continue;
        }
        QVERIFY2(rig.Sent(row.sent.size()), row.name);
        QVERIFY2(rig.sim.Requests() == row.sent, row.name);
    }
}

// A journal cut after its first line is offered when the window opens; nothing is sent
// until the operator answers, a dismissal sends nothing, and each answer is final.
void TestLineSendAndResume::resumeOfferSendsOnlyOnResume() {
    const std::string journal = "ZAVJOURNAL 1\n"
                                "started\t2026-12-09T12:00:00.000Z\n"
                                "list\t\n"
                                "first\t0\n"
                                "lines\t4\n"
                                "L\tBG\nL\tEN\nL\tDL\nL\tBG\n"
                                "E\t2026-12-09T12:00:00.010Z\t0\taccepted\t3\tBG\t\tE10*\n"
                                "end\tdevice-lost\tstopped\n";
    struct TRow {
        const char* name;
        const char* button;
        bool resend;
        std::vector<std::string> sent;
    };
    const TRow rows[] = {
        {"dismissed", "btnDismiss", false, {}},
        {"resumed after the line in flight", "btnResume", false, {"DL", "BG"}},
        {"resumed with the line in flight", "btnResume", true, {"EN", "DL", "BG"}},
        {"started again", "btnStartAgain", false, {"BG", "EN", "DL", "BG"}},
    };
    for (const TRow& row : rows) {
        TRig rig(QMessageBox::Ok, journal);
        TFormResume* offer = nullptr;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         return (offer = Find<TFormResume>(rig.form, "FormResume")) != nullptr &&
                                offer->isVisible();
                     },
                     20000),
                 row.name);
        QVERIFY2(rig.sim.Requests().empty(), row.name);
        QVERIFY2(offer->chbResend->isVisible() && !offer->chbResend->isChecked(), row.name);
        offer->chbResend->setChecked(row.resend);
        Find<QPushButton>(*offer, row.button)->click();
        if (row.sent.empty())
            QVERIFY2(!rig.form.Controller().ExchangeRunning() && rig.sim.Requests().empty(),
                     row.name);
        else
            QVERIFY2(rig.Sent(row.sent.size()) && rig.sim.Requests() == row.sent, row.name);
        // Whatever the answer, the journal is not offered again.
        for (const TJournal& left : rig.form.Controller().Resume().Unfinished())
            QVERIFY2(left.Path.filename() != "send-20261209-120000-000.zvj", row.name);
    }
}

QTEST_MAIN(TestLineSendAndResume)
#include "line_send_and_resume_test.moc"
