// Choosing the port number and line settings, and start-up with a missing, damaged or
// unusable port settings file.

#include <QAction>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_port_name.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestPortDialogs : public QObject {
    Q_OBJECT
private slots:
    void portNumberDialogShowsStoredNumber_data();
    void portNumberDialogShowsStoredNumber();
    void choosingCom3ReopensAndDescribesPort3();
    void stopBitsItemDependsOnDataBits_data();
    void stopBitsItemDependsOnDataBits();
    void propertiesMenuAndDataBitsFollowPort();
    void badPortSettingsFileLetsStartUpFinish_data();
    void badPortSettingsFileLetsStartUpFinish();
    void portThatDoesNotOpenIsReported();
    void choosingADeviceMakesItThePort();
};

void TestPortDialogs::portNumberDialogShowsStoredNumber_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("spinEnabled");
    QTest::addColumn<int>("spinValue");
    QTest::addColumn<uint>("number");
    QTest::newRow("Com 3") << "3" << 2 << false << 5 << 3u;
    QTest::newRow("other: 7") << "7" << 4 << true << 7 << 7u;
    QTest::newRow("other: 255") << "255" << 4 << true << 255 << 255u;
    // A number that no port can have is damage: the port keeps none.
    QTest::newRow("0 selects nothing") << "0" << -1 << false << 5 << 0u;
    QTest::newRow("300 selects nothing") << "300" << -1 << false << 5 << 0u;
}

void TestPortDialogs::portNumberDialogShowsStoredNumber() {
    QFETCH(QString, line);
    QFETCH(int, item);
    QFETCH(bool, spinEnabled);
    QFETCH(int, spinValue);
    QFETCH(uint, number);
    TAppDir dir;
    dir.WritePortSettings({line.toStdString()});
    TMessageBoxCatcher boxes;
    TForm1 form;
    // A valid number is used unchanged, even where no item stands for it.
    QCOMPARE(form.Controller().Port().PortNumber(), number);

    auto* dialog = new TFormPortName(form.Controller(), &form);
    QCOMPARE(dialog->rgrPortName->ItemIndex(), item);
    QCOMPARE(dialog->SpinEditPortName->isEnabled(), spinEnabled);
    QCOMPARE(dialog->SpinEditPortName->value(), spinValue);
    dialog->rgrPortName->Button(4)->click();
    QVERIFY(dialog->SpinEditPortName->isEnabled());
    dialog->rgrPortName->Button(0)->click();
    QVERIFY(!dialog->SpinEditPortName->isEnabled());
    delete dialog;
    form.close();
}

void TestPortDialogs::choosingCom3ReopensAndDescribesPort3() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1), com3(dir, 3);
    QVERIFY(com1.Ok() && com3.Ok());
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());

    bool closedWhileShown = false;
    bool single = false;
    auto driver = OnShown<TFormPortName>([&](TFormPortName* dialog) {
        single = form.FormPortName == dialog;
        closedWhileShown = !c.Port().Connected();
        dialog->rgrPortName->Button(2)->click();
        dialog->ButtonOK->click();
    });
    Find<QAction>(form, "mmSettsPortName")->trigger();

    QVERIFY(single);
    QVERIFY(closedWhileShown);
    QCOMPARE(c.Port().PortNumber(), 3u);
    QVERIFY(c.Port().Connected());
    QVERIFY(form.PanelPortProp->Caption().startsWith(
        QString::fromStdString(c.Lang().Message(3) + "Com3;  ")));
    QTRY_VERIFY(!form.FormPortName); // it freed itself
    form.close();
}

void TestPortDialogs::stopBitsItemDependsOnDataBits_data() {
    QTest::addColumn<int>("dataItem");
    QTest::addColumn<int>("stopItem");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<QString>("shown");
    QTest::newRow("5 bits, 2 (1,5): one and a half") << 0 << 1 << 1 << " 1,5;  ";
    QTest::newRow("6 bits, 2 (1,5): two") << 1 << 1 << 2 << " 2;  ";
    QTest::newRow("8 bits, 2 (1,5): two") << 3 << 1 << 2 << " 2;  ";
    QTest::newRow("5 bits, 1: one") << 0 << 0 << 0 << " 1;  ";
}

void TestPortDialogs::stopBitsItemDependsOnDataBits() {
    QFETCH(int, dataItem);
    QFETCH(int, stopItem);
    QFETCH(int, stopBits);
    QFETCH(QString, shown);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    c.PortConnection().btnClosePortClick(); // the line settings are then only stored

    QPointer<TFormByteLen> dialog = new TFormByteLen(c, &form);
    QCOMPARE(dialog->rgrDataLen->ItemIndex(), 3);     // 8 bits
    QCOMPARE(dialog->rgrParity->ItemIndex(), 2);      // even
    QCOMPARE(dialog->rgrStopBits->ItemIndex(), 0);    // one
    QCOMPARE(dialog->cbPortSpeed->currentIndex(), 6); // 9600
    dialog->rgrDataLen->Button(dataItem)->click();
    dialog->rgrStopBits->Button(stopItem)->click();
    dialog->rgrParity->Button(1)->click();
    dialog->cbPortSpeed->setCurrentIndex(12);
    dialog->btnOK->click();

    QCOMPARE(int(c.Port().DataBits()), dataItem);
    QCOMPARE(int(c.Port().StopBits()), stopBits);
    QCOMPARE(int(c.Port().Parity()), 1);
    QCOMPARE(int(c.Port().BaudIndex()), 12);
    const QString info = QString::fromStdString(c.PortConnection().PortInfo());
    QVERIFY2(info.contains(QString::fromStdString(c.Lang().Message(6)) + shown), qPrintable(info));
    QTRY_VERIFY(!dialog);
    form.close();
}

void TestPortDialogs::propertiesMenuAndDataBitsFollowPort() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1);
    TMessageBoxCatcher boxes;
    TForm1 form;
    auto* properties = Find<QAction>(form, "mmSettsProp");
    QVERIFY(properties->isEnabled());
    properties->trigger();
    QVERIFY(form.FormByteLen && form.FormByteLen->isVisible());
    QVERIFY(form.FormByteLen->rgrDataLen->isEnabled());
    TFormByteLen* first = form.FormByteLen;
    properties->trigger(); // one instance at a time
    QCOMPARE(form.FormByteLen.data(), first);

    form.btnClosePort->click();
    QVERIFY(!properties->isEnabled());
    QVERIFY(!form.FormByteLen->rgrDataLen->isEnabled());
    form.btnOpenPort->click();
    QVERIFY(properties->isEnabled());
    QVERIFY(!form.FormByteLen->rgrDataLen->isEnabled());

    form.FormByteLen->btnCancel->click();
    QTRY_VERIFY(!form.FormByteLen);
    form.close();
}

void TestPortDialogs::badPortSettingsFileLetsStartUpFinish_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("present");
    QTest::newRow("missing") << QStringList() << false;
    QTest::newRow("empty") << QStringList() << true;
    QTest::newRow("not a number") << QStringList{"COM1"} << true;
    QTest::newRow("negative") << QStringList{"-4"} << true;
}

void TestPortDialogs::badPortSettingsFileLetsStartUpFinish() {
    QFETCH(QStringList, lines);
    QFETCH(bool, present);
    TAppDir dir;
    if (present) {
        std::vector<std::string> content;
        for (const QString& line : lines)
            content.push_back(line.toStdString());
        dir.WritePortSettings(content);
    }
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(form.MemoLog->Lines().join('\n').contains("portp.dat is missing or damaged"));
    QVERIFY(!c.Port().Connected());
    QVERIFY(form.btnOpenPort->isEnabled());
    // Start-up went on to its end.
    QCOMPARE(form.width(), 370);
    QCOMPARE(c.CommonDatas().LastReply.Get(), std::string("  "));
    QCOMPARE(int(c.Port().DataBits()), 3);
    QCOMPARE(int(c.Port().Parity()), 2);
    form.close();
}

void TestPortDialogs::portThatDoesNotOpenIsReported() {
    TAppDir dir;
    dir.WritePortSettings({"250"}); // no ports/COM250 and no such device
    TMessageBoxCatcher boxes;
    // The message comes over the shown window, not before it.
    QPointer<TForm1> shown;
    bool overShownWindow = false;
    TShowWatcher order([&](QObject* window) {
        if (!qobject_cast<QMessageBox*>(window))
            return false;
        overShownWindow = shown && shown->isVisible() &&
                          static_cast<QWidget*>(window)->parentWidget() == shown.data();
        return true;
    });
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(boxes.Texts.isEmpty());
    shown = &form;
    form.show();
    QTRY_VERIFY(boxes.Saw(QString::fromStdString(c.Lang().Message(4))));
    QVERIFY(overShownWindow);
    QVERIFY(!c.Port().Connected());
    QVERIFY(form.PanelPortProp->Caption().isEmpty());
    QVERIFY(form.btnOpenPort->isEnabled());
    QVERIFY(!form.btnClosePort->isEnabled());
    QVERIFY(!Find<QAction>(form, "mmSettsProp")->isEnabled());
    QCOMPARE(form.height(), 613);
    form.close();
}

// A device chosen in the list becomes the chosen port (the link ports/COM<n>); Cancel
// leaves the port as it was, open.
void TestPortDialogs::choosingADeviceMakesItThePort() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1), spare(dir, 9);
    QVERIFY(com1.Ok() && spare.Ok());
    const std::string device =
        std::filesystem::read_symlink((dir.Path() + "/ports/COM9").toStdString()).string();
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());

    auto cancel = OnShown<TFormPortName>(
        [&](TFormPortName* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    Find<QAction>(form, "mmSettsPortName")->trigger();
    QVERIFY(c.Port().Connected());
    QCOMPARE(c.Port().PortNumber(), 1u);
    cancel.reset();

    QStringList listed;
    auto choose = OnShown<TFormPortName>([&](TFormPortName* dialog) {
        dialog->ListDevices = [&] {
            std::vector<TSerialDevice> devices(2);
            devices[0].Path = "/dev/ttyS0";
            devices[1].Path = device;
            return devices;
        };
        dialog->FillDevices();
        for (int i = 0; i < dialog->lbDevices->count(); ++i)
            listed << dialog->lbDevices->item(i)->text();
        dialog->lbDevices->setCurrentRow(1); // linked as COM 9: 9 is selected
        dialog->rgrPortName->Button(2)->click();
        dialog->ButtonOK->click();
    });
    Find<QAction>(form, "mmSettsPortName")->trigger();
    QCOMPARE(listed, (QStringList{"/dev/ttyS0", "Com 9: " + QString::fromStdString(device)}));
    QCOMPARE(c.Port().PortNumber(), 3u);
    QVERIFY(c.Port().Connected());
    QCOMPARE(std::filesystem::read_symlink((dir.Path() + "/ports/COM3").toStdString()).string(),
             device);
    QVERIFY(boxes.Texts.isEmpty());
    form.close();
}

QTEST_MAIN(TestPortDialogs)
#include "port_dialogs_test.moc"
