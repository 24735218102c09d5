// "Load from device" and the File menu: the read-back window driven by its controls,
// and the real file dialogs of Save and Load.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QTest>
#include <algorithm>

#include "main-window/form1.h"
#include "program-editing/form_chan_read.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestReadBackAndFiles : public QObject {
    Q_OBJECT
private slots:
    void readBackWindow();
    void saveAndLoadThroughTheDialogs();
};

void TestReadBackAndFiles::readBackWindow() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    auto* mmReadCh = Find<QAction>(form, "mmReadCh");
    QVERIFY(mmReadCh->isEnabled());
    mmReadCh->trigger();
    QPointer<TFormChanRead> window = form.FormChanRead;
    QVERIFY(window);
    QVERIFY(window->isVisible() && !window->isModal());
    QCOMPARE(window->windowTitle(), QString("Read program from controller"));
    QCOMPARE(window->btnRead->text(), QString("Read from controller"));
    // 264 high with the codes and 200 without, or what the contents need beyond that.
    QCOMPARE(window->height(), std::max(264, window->minimumSizeHint().height()));
    mmReadCh->trigger();
    QCOMPARE(form.FormChanRead, window); // still the one window

    QTest::mouseClick(window->btnRead, Qt::LeftButton);
    QVERIFY(!window->btnRead->isEnabled());
    c.ProcessReplies("RD1*E10*SD200*MV1000*ED*");
    QTRY_VERIFY(window->btnRead->isEnabled());
    QCOMPARE(window->StringGridRead->model()->rowCount(), 3); // two and the trailing row
    QCOMPARE(window->MemoChan->toPlainText(), QString("RD1*SD200*MV1000*ED*"));

    window->chbCodes->click();
    QCOMPARE(window->height(), std::max(200, window->minimumSizeHint().height()));
    QVERIFY(!window->MemoChan->isVisibleTo(window));

    QTest::mouseClick(window->btnAddToList, Qt::LeftButton);
    QCOMPARE(c.MemoSend().Lines(), (std::vector<std::string>{"SD200", "MV1000"}));

    // Closing frees the window; the next one starts empty.
    window->close();
    QTRY_VERIFY(!window);
    mmReadCh->trigger();
    QVERIFY(form.FormChanRead);
    QCOMPARE(form.FormChanRead->StringGridRead->model()->rowCount(), 1);
}

void TestReadBackAndFiles::saveAndLoadThroughTheDialogs() {
    TAppDir dir;
    QDir(dir.Path()).mkdir("Users");
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    form.rgrSingl_Mult->SetItemIndex(1);
    QVERIFY(Find<QAction>(form, "mmFileSave")->isEnabled());
    c.MemoSend().Assign({{"BG", "Begin"}, {"MV100", "Move 100"}});

    const QString users = QDir(dir.Path()).filePath("Users");
    const QString file = QDir(users).filePath("mine.zav");
    QString shownName, shownFolder;
    auto answer = [&](QFileDialog* d) {
        shownFolder = d->directory().absolutePath();
        shownName = d->selectedFiles().value(0);
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept(); // the file dialog checks the name
    };
    auto saving = OnShown<QFileDialog>([&](QFileDialog* d) {
        QCOMPARE(d->objectName(), QString("SaveDialogZav"));
        answer(d);
    });
    Find<QAction>(form, "mmFileSave")->trigger();
    QCOMPARE(shownFolder, QDir(users).absolutePath());
    QVERIFY(shownName.endsWith("Zav-Prog-1.zav"));
    QVERIFY(QFile::exists(QDir(users).filePath("mine._zav")));

    c.MemoSend().Clear();
    saving.reset();
    auto loading = OnShown<QFileDialog>([&](QFileDialog* d) {
        QCOMPARE(d->objectName(), QString("OpenDialogZav"));
        answer(d);
    });
    Find<QAction>(form, "mmFileOpen")->trigger();
    QCOMPARE(c.MemoSend().Lines(), (std::vector<std::string>{"BG", "MV100"}));
    QCOMPARE(form.PanelMultC->StringGridSend->model()->rowCount(), 3);
}

QTEST_MAIN(TestReadBackAndFiles)
#include "read_back_and_files_test.moc"
