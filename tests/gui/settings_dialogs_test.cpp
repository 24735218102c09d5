// The settings dialogs: OK stores, closing discards; "Clear error" and the recovery
// dialog; the window height after OK; a signal closes and saves like the close button.

#include <QtTest>
#include <csignal>

#include "common/signal_close.h"
#include "main-window/form1.h"
#include "settings/form_err_nastr.h"
#include "settings/form_errores.h"
#include "settings/form_prog_prop.h"
#include "settings/program_settings_file.h"
#include "state/text_file.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestSettingsDialogs : public QObject {
    Q_OBJECT
private slots:
    void errorSettingsOkStoresCloseDiscards_data();
    void errorSettingsOkStoresCloseDiscards();
    void programSettingsOkStoresCloseDiscards_data();
    void programSettingsOkStoresCloseDiscards();
    void clearErrorLogsAndRecoveryBoxesActAtOnce();
    void repeatedOkWithLogHiddenKeepsHeight();
    void terminationSignalSavesLikeCloseButton();
};

void TestSettingsDialogs::errorSettingsOkStoresCloseDiscards_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("refused");
    QTest::newRow("OK") << true << "2500" << 2500 << false;
    // A time that is no whole number of at least 1 ms is refused, not stored as 1 ms:
    // the dialog stays open, and closing it then discards everything.
    QTest::newRow("OK with an emptied time") << true << "" << 300 << true;
    QTest::newRow("OK with a zero time") << true << "0" << 300 << true;
    QTest::newRow("closed") << false << "2500" << 300 << false;
}

void TestSettingsDialogs::errorSettingsOkStoresCloseDiscards() {
    QFETCH(bool, ok);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(bool, refused);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TCommonDatas& d = form.Controller().CommonDatas();
    d.StopOnDataError = 0;
    // Boxes of start-up are held until the window is shown; a refusal's box then shows
    // at once.
    form.show();
    QCoreApplication::processEvents();
    bool stillOpen = false;
    auto watcher = OnShown<TFormErrNastr>([&](TFormErrNastr* dialog) {
        QVERIFY(dialog->RbtnEr9_NoReact->isChecked());
        QVERIFY(dialog->RbtnEr6_Esc->isChecked());
        QCOMPARE(dialog->SpinEditTime->value(), 300);
        QVERIFY(dialog->chboxEcho->isChecked());
        dialog->chboxEr5->click();
        dialog->chboxEcho->click();
        dialog->RbtnEr6_NoReact->click();
        dialog->RbtnEr9_Esc->click();
        dialog->SpinEditTime->findChild<QLineEdit*>()->setText(typed);
        if (ok)
            dialog->btnOk->click();
        stillOpen = dialog->isVisible();
        if (stillOpen)
            dialog->close();
    });
    form.mmNastrError->trigger();
    const bool taken = ok && !refused;
    QCOMPARE(d.AutoRecovery, !taken);
    QCOMPARE(d.EchoCheck.load(), !taken);
    QCOMPARE(d.StopOnCommandError.load(), std::uint8_t(taken ? 0 : 1));
    QCOMPARE(d.StopOnDataError.load(), std::uint8_t(taken ? 1 : 0));
    QCOMPARE(d.ReplyTimeout.load(), stored);
    const QString refusal =
        QString::fromStdString(form.Controller().Lang().Message(msgReplyTimeoutRefused));
    QCOMPARE(boxes.Saw(refusal), refused);
    QCOMPARE(stillOpen, !ok || refused);
    // No settings file reported as missing or damaged.
    QVERIFY(!boxes.Saw(QString::fromStdString(form.Controller().Lang().Message(2))));
    form.close();
}

void TestSettingsDialogs::programSettingsOkStoresCloseDiscards_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("closed") << false;
}

void TestSettingsDialogs::programSettingsOkStoresCloseDiscards() {
    QFETCH(bool, ok);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
    form.show();
    TController& c = form.Controller();
    TCommonDatas& d = c.CommonDatas();
    c.MemoSend().SetLines({"MV100"});
    auto watcher = OnShown<TFormProgProp>([&](TFormProgProp* dialog) {
        QCOMPARE(dialog->EditUnitsName->text(), QString("Step"));
        QCOMPARE(dialog->RgrTrunc->ItemIndex(), 0);
        QVERIFY(dialog->chBoxLogs->isChecked() && !dialog->chboxPortLogs->isChecked());
        QVERIFY(dialog->chboxReconnect->isChecked());
        dialog->chboxReconnect->click();
        dialog->chboxPortLogs->click();
        dialog->chBoxSaveLogs->click();
        dialog->chboxAddBGAutomatic->click();
        dialog->RgrTrunc->Button(2)->click();
        dialog->EditUnitsName->setText("mm");
        if (ok)
            dialog->btnOK->click();
        else
            dialog->close();
    });
    form.mmNastrLogs->trigger();
    QCOMPARE(d.ShowPortLog, ok);
    QCOMPARE(d.SaveWorkLog, ok);
    QCOMPARE(d.AutoAddBG, !ok);
    QCOMPARE(d.ReconnectLostDevice, !ok);
    QCOMPARE(d.Rounding, std::uint8_t(ok ? 2 : 0));
    QCOMPARE(d.UnitsName, std::string(ok ? "mm" : "Step"));
    // OK shows the response list at once and keeps the command list.
    QCOMPARE(form.PanelMultC->panelPortAns->isVisible(), ok);
    QCOMPARE(form.width(), ok ? 499 : 394);
    QCOMPARE(c.MemoSend().Lines().size(), std::size_t{1});
    // No settings file reported as missing or damaged.
    QVERIFY(!boxes.Saw(QString::fromStdString(form.Controller().Lang().Message(2))));
    form.close();
}

void TestSettingsDialogs::clearErrorLogsAndRecoveryBoxesActAtOnce() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    const int before = form.MemoLog->Lines().size();
    auto recovery = OnShown<TFormErrores>([&](TFormErrores* dialog) {
        QVERIFY(dialog->chboxED->isChecked() && dialog->chboxSettsClear->isChecked());
        dialog->chboxED->click();
        QVERIFY(!c.CommonDatas().RecoveryStopRecording);
        dialog->btnAllOk->click();
        dialog->close();
    });
    auto settings = OnShown<TFormErrNastr>([&](TFormErrNastr* dialog) {
        dialog->btnErrRun->click();
        dialog->close();
    });
    form.mmNastrError->trigger();
    auto m = [&](int n) { return QString::fromStdString(c.Lang().Message(n)); };
    QCOMPARE(form.MemoLog->Lines().mid(before), (QStringList{m(26), m(40)}));
    // The box acted although the settings dialog was closed without OK.
    QVERIFY(!c.CommonDatas().RecoveryStopRecording);
    form.close();
}

void TestSettingsDialogs::repeatedOkWithLogHiddenKeepsHeight() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.show();
    QCOMPARE(form.height(), 613);
    QList<int> heights;
    for (bool showLog : {false, false, true}) {
        auto watcher = OnShown<TFormProgProp>([&](TFormProgProp* dialog) {
            dialog->chBoxLogs->setChecked(showLog);
            dialog->btnOK->click();
        });
        form.mmNastrLogs->trigger();
        heights << form.height();
        QCOMPARE(form.MemoLog->isVisible(), showLog);
    }
    QVERIFY(heights[0] < 613);
    QCOMPARE(heights[1], heights[0]);
    QCOMPARE(heights[2], 613);
    form.close();
}

void TestSettingsDialogs::terminationSignalSavesLikeCloseButton() {
    for (int signal : {SIGTERM, SIGINT}) {
        TAppDir dir;
        TMessageBoxCatcher boxes;
        TForm1 form;
        form.show();
        form.Controller().CommonDatas().SaveWorkLog = true;
        form.Controller().CommonDatas().ReplyTimeout = 777;
        form.MemoLog->AddLine("before the signal");
        TSignalCloser closer([&] { form.close(); });
        std::raise(signal);
        QTRY_VERIFY(!form.isVisible());
        QFile log(dir.Path() + "/Log/work.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("before the signal\r\n"));
        const auto erp = LoadLines(dir.Path().toStdString() + "/Data/erp.dat", true);
        QCOMPARE(erp.at(5), std::string("777"));
    }
}

QTEST_MAIN(TestSettingsDialogs)
#include "settings_dialogs_test.moc"
