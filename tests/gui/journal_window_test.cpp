// "Send journal": the window shows the newest journal of Log/ as the reader reads it, or
// why it cannot, and names its controls in the window's language.

#include <QAccessible>
#include <QDateTime>
#include <QTest>
#include <fstream>

#include "journal/form_journal.h"
#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestJournalWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheLastJournal_data();
    void showsTheLastJournal();
    void namesEachControlOnceInTheLanguage();
};

namespace {
const char* const Sound = "ZAVJOURNAL 1\n"
                          "started\t2026-12-09T18:35:12.123Z\n"
                          "list\t\n"
                          "first\t0\n"
                          "lines\t2\n"
                          "L\tBG\n"
                          "L\tMV100\n"
                          "E\t2026-12-09T18:35:12.200Z\t0\taccepted\t12\tBG\tBG\tE10*\n"
                          "E\t2026-12-09T18:35:12.300Z\t1\tdata-error\t7\tMV100\tMV1\\x0100\tE19*\n"
                          "end\tstopped\tdata-error\n";

void WriteJournal(const TAppDir& dir, const char* name, const std::string& bytes) {
    std::filesystem::create_directories(dir.Path().toStdString() + "/Log");
    std::ofstream(dir.Path().toStdString() + "/Log/" + name, std::ios::binary) << bytes;
}

QString Time(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy-MM-dd hh:mm:ss.zzz");
}
} // namespace

void TestJournalWindow::showsTheLastJournal_data() {
    QTest::addColumn<QString>("newest"); // empty: no journal at all
    QTest::addColumn<QStringList>("lastRow");
    QTest::addColumn<QString>("summaryPart");
    QTest::newRow("stopped by a data error")
        << QString(Sound)
        << QStringList{Time(1796841312300), "2", "MV100", "MV1\\x0100", "E19*", "data error", "7"}
        << "End: stopped";
    QTest::newRow("damaged") << QString(Sound).replace("E\t2026-12-09T18:35:12.300Z", "E\tx")
                             << QStringList{}
                             << "cannot be shown: the journal has a damaged line: 9";
    QTest::newRow("none") << QString() << QStringList{} << "No send has been journalled yet.";
}

void TestJournalWindow::showsTheLastJournal() {
    QFETCH(QString, newest);
    QFETCH(QStringList, lastRow);
    QFETCH(QString, summaryPart);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    if (!newest.isEmpty()) {
        WriteJournal(dir, "send-20261209-100000-000.zvj", "older, not shown\n");
        WriteJournal(dir, "send-20261209-183512-123.zvj", newest.toStdString());
    }
    TForm1 form;
    form.mmJournal->trigger();
    QPointer<TFormJournal> window = form.FormJournal;
    QVERIFY(window && window->isVisible() && !window->isModal());
    QTableWidget& grid = *window->JournalGrid;
    QVERIFY2(window->lbJournalSummary->text().contains(summaryPart),
             qPrintable(window->lbJournalSummary->text()));
    QCOMPARE(grid.rowCount(), lastRow.isEmpty() ? 0 : 2);
    for (int column = 0; column < lastRow.size(); ++column)
        QCOMPARE(grid.item(1, column)->text(), lastRow[column]);
    // A send after the window opened shows on Refresh.
    WriteJournal(dir, "send-20261209-190000-000.zvj",
                 std::string(Sound).substr(0, std::string(Sound).find("E\t")));
    window->btnJournalRefresh->click();
    QCOMPARE(grid.rowCount(), 0);
    QVERIFY(window->lbJournalSummary->text().contains("did not end normally"));
    window->btnJournalClose->click();
    QVERIFY(!window || !window->isVisible());
    form.close();
}

void TestJournalWindow::namesEachControlOnceInTheLanguage() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.Controller().LanguageSwitch().SetLanguage("ru");
    QCOMPARE(form.mmJournal->text().remove(QChar('&')), QString("Журнал отправки"));
    form.mmJournal->trigger();
    QVERIFY(form.FormJournal);
    TFormJournal& window = *form.FormJournal;
    QCOMPARE(window.windowTitle(), QString("Журнал последней отправки"));
    QStringList names;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QAbstractScrollArea*>(w->parent()))
            names << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    QCOMPARE(names.size(), 4); // the summary, the table and the two buttons
    for (const QString& name : names) {
        QVERIFY2(name.contains(QRegularExpression("[а-я]")), qPrintable(name));
        QCOMPARE(names.count(name), 1);
    }
    form.close();
}

QTEST_MAIN(TestJournalWindow)
#include "journal_window_test.moc"
