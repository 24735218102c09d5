// The program check in the main window: warned lines marked in the grid with the count
// under it, in the window's language, and Send asking first when the settings say so.

#include <QMessageBox>
#include <QtTest>

#include "common/command_grid.h"
#include "main-window/form1.h"
#include "program-check/program_check.h"
#include "serial/exchange_observer.h"
#include "test_support.h"
#include "zavsim.h"

using namespace zav;
using namespace zav::test;

namespace {
// Counts the exchanges that Send starts.
struct TStarts : IExchangeObserver {
    void ExchangeStarted(const std::vector<std::string>&) override { ++Count; }
    void LineDone(const TExchangeRecord&) override {}
    void ExchangeEnded(TSendOutcome) override {}
    int Count = 0;
};

QString M(TForm1& form, int n) {
    return QString::fromStdString(form.Controller().Lang().Message(n));
}
} // namespace

class TestProgramCheck : public QObject {
    Q_OBJECT
private slots:
    void warnedLinesAreMarkedAndCounted();
    void sendAsksOnceWhenTheOptionIsOn();
};

void TestProgramCheck::warnedLinesAreMarkedAndCounted() {
    TAppDir dir;
    TMessageBoxCatcher boxes; // no port here
    TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
    form.show();
    TController& c = form.Controller();
    TCommandGridModel* model = form.PanelMultC->StringGridSend->GridModel();
    QLabel* count = form.PanelMultC->lblWarnings;
    QVERIFY(!count->isVisible());

    // 1: MV before SD in its recording; 3: a direct home move, whose length is the machine's.
    c.MemoSend().SetLines({"LD1", "MV100", "ED", "HM"});
    QTRY_COMPARE(model->WarningCount(), 3);
    QVERIFY(count->isVisible());
    QCOMPARE(count->text(), QString::fromStdString(WarningCountText(c.Lang(), 3)));
    QCOMPARE(count->accessibleName(), count->text());
    const struct {
        int row;
        QStringList warnings;
    } rows[] = {
        {0, {}},
        {1, {M(form, msgCheckMoveBeforeSd)}},
        {2, {}},
        {3, {M(form, msgCheckDirectMotion), M(form, msgCheckMachineWait)}},
    };
    for (const auto& row : rows) {
        const QModelIndex number = model->index(row.row, 0);
        const QString joined = row.warnings.join('\n');
        QCOMPARE(model->data(number, Qt::DecorationRole).value<QIcon>().isNull(),
                 row.warnings.isEmpty());
        QCOMPARE(model->data(number, Qt::ToolTipRole).toString(), joined);
        QCOMPARE(model->data(number, Qt::AccessibleDescriptionRole).toString(), joined);
        // The description's tool-tip carries them too.
        QVERIFY(model->data(model->index(row.row, 2), Qt::ToolTipRole).toString().endsWith(joined));
    }

    // In the other language, the count and the warnings follow.
    c.LanguageSwitch().SetLanguage("ru");
    QTRY_COMPARE(count->text(), QString("3 предупреждения"));
    QVERIFY(model->data(model->index(1, 0), Qt::ToolTipRole).toString().startsWith("MV раньше"));

    // A corrected list leaves nothing marked and no count.
    c.MemoSend().SetLines({"LD1", "SD200", "MV100", "ED"});
    QTRY_COMPARE(model->WarningCount(), 0);
    QVERIFY(!count->isVisible());
    QVERIFY(model->data(model->index(2, 0), Qt::DecorationRole).isNull());
}

// Off, Send sends as it always did. On, a list with warnings asks once: No keeps it
// unsent, Yes sends it; a list without warnings is not asked about.
void TestProgramCheck::sendAsksOnceWhenTheOptionIsOn() {
    const struct {
        const char* name;
        bool ask;
        std::vector<std::string> list;
        QMessageBox::StandardButton answer;
        int questions, sends;
    } rows[] = {
        {"option off", false, {"MV100"}, QMessageBox::No, 0, 1},
        {"answered No", true, {"MV100"}, QMessageBox::No, 1, 0},
        {"answered Yes", true, {"MV100"}, QMessageBox::Yes, 1, 1},
        {"no warnings", true, {"LD1", "SD200", "MV100", "ED"}, QMessageBox::No, 0, 1},
    };
    for (const auto& row : rows) {
        TAppDir dir;
        dir.WritePortSettings({"1"});
        zavsim::TSimOptions options;
        options.Port = 1;
        options.PortsDir = (dir.Path() + "/ports").toStdString();
        options.TimeScale = 0;
        zavsim::TSimulator sim(options);
        sim.Start();
        QStringList questions;
        TShowWatcher answerer([&questions, answer = row.answer](QObject* watched) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                questions << box->text();
                QTimer::singleShot(0, box, [box = QPointer<QMessageBox>(box), answer] {
                    if (box && box->button(answer))
                        box->button(answer)->click();
                    else if (box)
                        box->accept();
                });
            }
            return false; // keeps answering
        });
        TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
        form.show();
        TController& c = form.Controller();
        QVERIFY2(c.Port().Connected(), row.name);
        TStarts starts;
        c.SendAction().AddObserver(starts);
        c.CommonDatas().AskBeforeSendingWarnings = row.ask;
        c.MemoSend().SetLines(row.list);
        form.PanelMultC->btnRunTR->click();
        QCOMPARE(questions.size(), row.questions);
        if (row.questions)
            QCOMPARE(questions[0], QString::fromStdString(SendQuestion(c.Lang(), true, row.list)));
        QCOMPARE(starts.Count, row.sends);
        QTRY_VERIFY2_WITH_TIMEOUT(!form.Sending(), row.name, 20000);
        QCOMPARE(c.MemoSend().Lines(), row.list); // sent or not, the list is kept
    }
}

QTEST_MAIN(TestProgramCheck)
#include "program_check_test.moc"
