// The operator's habits: menu mnemonics and shortcuts in both languages, the recent
// files, and the window's place kept from one run to the next.

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <filesystem>

#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestKeyboardAndSession : public QObject {
    Q_OBJECT
private slots:
    void menuMnemonicsAreUniqueInBothLanguages();
    void recentFilesAndWindowPlaceOutliveTheRun();
};

namespace {
// Each menu level's mnemonics, as Alt+key sequences; an action without one is an empty
// sequence and fails the caller's check.
void CheckLevel(const QList<QAction*>& actions, const QString& where) {
    QSet<QString> seen;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QString key = QKeySequence::mnemonic(action->text()).toString();
        QVERIFY2(!key.isEmpty(), qPrintable(where + ": " + action->text()));
        QVERIFY2(!seen.contains(key), qPrintable(where + ": " + action->text()));
        seen.insert(key);
    }
}

// Shows the window and waits for start-up's message of the port that does not open.
void ShowStarted(TForm1& form, const TMessageBoxCatcher& boxes) {
    form.show();
    QTRY_VERIFY(boxes.Saw(QString::fromStdString(form.Controller().Lang().Message(4))));
}
} // namespace

void TestKeyboardAndSession::menuMnemonicsAreUniqueInBothLanguages() {
    TAppDir dir;
    dir.WritePortSettings({"250"});
    QDir(dir.Path()).mkdir("Users");
    TMessageBoxCatcher boxes;
    TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
    ShowStarted(form, boxes);
    TController& c = form.Controller();
    QCOMPARE(form.mmFileOpen->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(form.mmFileSave->shortcut(), QKeySequence(QKeySequence::Save));
    QVERIFY(c.Files().SaveToFile((dir.Path() + "/Users/a&b.zav").toStdString()));

    for (const char* language : {"ru", "en"}) {
        c.LanguageSwitch().SetLanguage(language);
        // The File menu and its recent files are brought up to date as they open.
        emit form.mmFile->aboutToShow();
        emit form.mmFileRecent->aboutToShow();
        CheckLevel(form.menuBar()->actions(), language);
        for (QMenu* menu : form.menuBar()->findChildren<QMenu*>())
            CheckLevel(menu->actions(), QString(language) + " " + menu->objectName());
    }
    // As an English-speaking operator expects, and with the file's '&' shown as it is.
    QCOMPARE(form.mmFile->title(), QString("&File"));
    QCOMPARE(form.mmFileRecent->actions().value(0)->text(),
             "&1 " + QDir::toNativeSeparators(dir.Path()) + "/Users/a&&b.zav");

    // Alt+F opens the File menu.
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(form.mmFile->isVisible());
    form.mmFile->close();
    form.close();
}

void TestKeyboardAndSession::recentFilesAndWindowPlaceOutliveTheRun() {
    TAppDir dir;
    dir.WritePortSettings({"250"});
    QDir(dir.Path()).mkdir("Users");
    const std::string a = (dir.Path() + "/Users/a.zav").toStdString();
    const std::string b = (dir.Path() + "/Users/b.zav").toStdString();
    TMessageBoxCatcher boxes;
    QSize size;
    QPoint place;
    {
        TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
        ShowStarted(form, boxes);
        TController& c = form.Controller();
        c.MemoSend().Assign({{"MV1000", "move"}, {"ST1", "start"}});
        QVERIFY(c.Files().SaveToFile(a));
        c.MemoSend().Assign({{"ED", "end"}});
        QVERIFY(c.Files().SaveToFile(b));

        // Choosing a recent file loads it as Open does.
        emit form.mmFileRecent->aboutToShow();
        QCOMPARE(form.mmFileRecent->actions().size(), 2);
        QVERIFY(form.mmFileRecent->actions()[0]->text().endsWith("b.zav"));
        form.mmFileRecent->actions()[1]->trigger();
        QCOMPARE(c.MemoSend().Lines(), (std::vector<std::string>{"MV1000", "ST1"}));

        // A file that is gone is shown disabled, and chosen all the same it is reported
        // and dropped.
        std::filesystem::remove(b);
        emit form.mmFileRecent->aboutToShow();
        QVERIFY(form.mmFileRecent->actions()[0]->text().endsWith("a.zav"));
        QVERIFY(!form.mmFileRecent->actions()[1]->isEnabled());
        QVERIFY(!c.Files().OpenRecentFile(b));
        QVERIFY(boxes.Saw(QString::fromStdString(c.Lang().Message(msgRecentFileGone) + b)));
        QCOMPARE(c.MemoSend().Lines(), (std::vector<std::string>{"MV1000", "ST1"}));

        size = form.minimumSize() + QSize(30, 20);
        place = QPoint(25, 35);
        form.resize(size);
        form.move(place);
        form.close();
    }
    TForm1 again;
    QCOMPARE(again.size(), size);
    QCOMPARE(again.pos(), place);
    QCOMPARE(again.Controller().Files().RecentFiles().size(), 1u);
    again.close();
}

QTEST_MAIN(TestKeyboardAndSession)
#include "keyboard_and_session_test.moc"
