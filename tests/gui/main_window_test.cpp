// The main window: start-up in both control modes, the window size rules, the bound
// lists and log, the port going away, and what closing writes.

#include "common/command_grid.h"
#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>

#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsInSimpleModeWithPortOpen();
    void startsInExtendedMode_data();
    void startsInExtendedMode();
    void operationLogSwitchSetsHeight_data();
    void operationLogSwitchSetsHeight();
    void modeSwitchEmptiesCommandList();
    void logColourAppliesToItsLineOnly();
    void responseListFollowsReplies();
    void lostPortIsLoggedAndShownClosed();
    void closingWritesPortNumberWhenAsked_data();
    void closingWritesPortNumberWhenAsked();
};

void TestMainWindow::startsInSimpleModeWithPortOpen() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1);
    QVERIFY(com1.Ok());
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();

    QCOMPARE(form.width(), 370);
    QCOMPARE(form.height(), 613);
    QCOMPARE(form.rgrSingl_Mult->ItemIndex(), 0);
    QVERIFY(form.PanelSingeC->isVisibleTo(&form));
    QCOMPARE(form.PanelSingeC->width(), 361);
    QVERIFY(!form.PanelMultC->isVisibleTo(&form));
    QVERIFY(!form.PanelMultC->isEnabled());
    QVERIFY(form.PanelChanelState->chboxCoord3->isVisibleTo(&form));
    QVERIFY(!Find<QAction>(form, "mmFileOpen")->isEnabled());
    QVERIFY(!Find<QAction>(form, "mmFileSave")->isEnabled());
    QVERIFY(!Find<QAction>(form, "mmSettsCoord")->isVisible());

    // COM 1 opened with the fixed line settings: 8 data bits, one stop bit, even parity.
    QVERIFY(c.Port().Connected());
    QVERIFY(!boxes.Saw(QString::fromStdString(c.Lang().Message(4))));
    QVERIFY(!form.btnOpenPort->isEnabled());
    QVERIFY(form.btnClosePort->isEnabled());
    QVERIFY(Find<QAction>(form, "mmSettsProp")->isEnabled());
    // The description, then the device and the speed.
    const std::string expected = c.Lang().Message(3) + "Com1;  8 " + c.Lang().Message(5) +
                                 c.Lang().Message(6) + " 1;  " + c.Lang().Message(9) + "  " +
                                 c.PortConnection().PortDevicePath() + ", 9600" +
                                 c.Lang().Message(msgBaud);
    QCOMPARE(form.PanelPortProp->Caption().toStdString(), expected);
    QVERIFY(form.MemoLog->Lines().contains(QString::fromStdString(
        "Com1 (" + c.PortConnection().PortDevicePath() + ")" + c.Lang().Message(msgPortOpenedLog) +
        "9600" + c.Lang().Message(msgBaud) + "; 8 " + c.Lang().Message(5) + c.Lang().Message(6) +
        " 1;  " + c.Lang().Message(9))));

    auto* grid = Find<TCommandGrid>(form, "StringGridSend")->model();
    QCOMPARE(grid->headerData(0, Qt::Horizontal).toString(), QString("№"));
    QCOMPARE(grid->headerData(2, Qt::Horizontal).toString(), QString("Command"));
    QCOMPARE(grid->rowCount(), 1); // the trailing empty row
    QCOMPARE(c.CommonDatas().LastReply.Get(), std::string("  "));
    QVERIFY(c.SenderIdleEvent().IsSet());
    QVERIFY(!c.ReplyEvent().IsSet());
    QCOMPARE(form.PanelCoordinates->Caption().toStdString(),
             c.CommonDatas().TextCoordinates + "1  ");
    form.close();
}

void TestMainWindow::startsInExtendedMode_data() {
    QTest::addColumn<bool>("loadLog");
    QTest::addColumn<bool>("portLog");
    QTest::addColumn<int>("panelWidth");
    QTest::addColumn<int>("windowWidth");
    QTest::newRow("no side lists") << false << false << 384 << 394;
    QTest::newRow("both side lists") << true << true << 594 << 604;
    QTest::newRow("loading list only") << true << false << 489 << 499;
    QTest::newRow("response list only") << false << true << 489 << 499;
}

void TestMainWindow::startsInExtendedMode() {
    QFETCH(bool, loadLog);
    QFETCH(bool, portLog);
    QFETCH(int, panelWidth);
    QFETCH(int, windowWidth);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([&](TForm1& f) {
        f.Controller().CommonDatas().ShowLoadLog = loadLog;
        f.Controller().CommonDatas().ShowPortLog = portLog;
        f.rgrSingl_Mult->SetItemIndex(1);
    });

    QCOMPARE(form.rgrSingl_Mult->ItemIndex(), 1);
    QCOMPARE(form.PanelMultC->width(), panelWidth);
    QCOMPARE(form.PanelMultC->x(), 0);
    QCOMPARE(form.width(), windowWidth);
    QVERIFY(form.PanelMultC->isVisibleTo(&form) && form.PanelMultC->isEnabled());
    // The hidden simple-mode panel takes no room: the window is the extended one + 10.
    QVERIFY(!form.PanelSingeC->isVisibleTo(&form));
    QCOMPARE(form.width(), form.PanelMultC->width() + 10);
    QCOMPARE(form.PanelMultC->panelLoadAns->isVisibleTo(&form), loadLog);
    QCOMPARE(form.PanelMultC->panelPortAns->isVisibleTo(&form), portLog);
    QVERIFY(Find<QAction>(form, "mmFileOpen")->isEnabled());
    QVERIFY(Find<QAction>(form, "mmFileSave")->isEnabled());
    for (int n = 1; n <= 3; ++n)
        QVERIFY(!form.PanelChanelState->CoordCheckBox(n)->isVisibleTo(&form));

    // Back to simple mode: the narrow window and the selection boxes return.
    form.rgrSingl_Mult->Button(0)->click();
    QCOMPARE(form.width(), 370);
    QVERIFY(form.PanelChanelState->ChboxCoord1->isVisibleTo(&form));
    QVERIFY(!form.PanelMultC->isEnabled());
    form.close();
}

void TestMainWindow::operationLogSwitchSetsHeight_data() {
    QTest::addColumn<bool>("showLog");
    QTest::newRow("log shown") << true;
    QTest::newRow("log hidden") << false;
}

void TestMainWindow::operationLogSwitchSetsHeight() {
    QFETCH(bool, showLog);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    int logHeight = -1;
    TForm1 form([&](TForm1& f) {
        f.Controller().CommonDatas().ShowWorkLog = showLog;
        logHeight = f.MemoLog->height();
    });
    QVERIFY(logHeight > 0);
    if (showLog) {
        QCOMPARE(form.height(), 613);
        QVERIFY(form.MemoLog->height() > 0);
    } else {
        QCOMPARE(form.height(), TForm1::BuiltHeight - logHeight);
        QVERIFY(!form.MemoLog->isVisibleTo(&form));
    }
    form.close();
}

void TestMainWindow::modeSwitchEmptiesCommandList() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    auto* grid = Find<TCommandGrid>(form, "StringGridSend")->model();
    auto fill = [&] {
        c.MemoSend().Append("MV1000", "Move 1000");
        c.MemoRead().Add("MV1000 OK");
        c.Editor().SetListHasWrongCommand(true);
    };
    fill();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->index(0, 0).data().toString(), QString("1"));
    QCOMPARE(grid->index(0, 2).data().toString(), QString("Move 1000"));
    form.rgrSingl_Mult->Button(1)->click();
    QVERIFY(c.MemoSend().Empty());
    QVERIFY(c.MemoRead().Empty());
    QVERIFY(!c.Editor().ListHasWrongCommand());
    QCOMPARE(grid->rowCount(), 1);
    fill();
    form.rgrSingl_Mult->Button(0)->click();
    QVERIFY(c.MemoSend().Empty());
    QCOMPARE(grid->rowCount(), 1);
    form.close();
}

void TestMainWindow::logColourAppliesToItsLineOnly() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TMemoLog& log = *form.MemoLog;
    const int first = log.document()->blockCount();
    log.SetTextColor(clRed);
    log.AddLine("first red");
    log.AddLine("after red");
    log.SetTextColor({0, 0, 255});
    log.AddLine("blue");
    auto colourOf = [&](const QString& text) {
        for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next())
            if (b.text() == text)
                return b.begin().fragment().charFormat().foreground().color();
        return QColor();
    };
    QCOMPARE(colourOf("first red"), QColor(255, 0, 0));
    QCOMPARE(colourOf("after red"), log.palette().color(QPalette::Text));
    QCOMPARE(colourOf("blue"), QColor(0, 0, 255));
    QVERIFY(log.document()->blockCount() >= first + 2);
    QCOMPARE(log.Lines().last(), QString("blue"));
    form.close();
}

void TestMainWindow::responseListFollowsReplies() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([](TForm1& f) {
        f.Controller().CommonDatas().ShowPortLog = true;
        f.rgrSingl_Mult->SetItemIndex(1);
    });
    form.show();
    TController& c = form.Controller();
    auto* list = Find<QListWidget>(form, "lbBufRead");
    QCOMPARE(c.lbBufRead().Count(), std::size_t{1}); // one open item at start
    for (int i = 0; i < 40; ++i)
        c.lbBufRead().AppendReplies("LD1*E10*");
    QTRY_COMPARE(list->count(), static_cast<int>(c.lbBufRead().Count()));
    QCOMPARE(list->item(0)->text(), QString("LD1*"));
    QCOMPARE(list->item(1)->text(), QString("E10*"));
    QCOMPARE(list->item(list->count() - 1)->text(), QString());
    // The newest line is in view.
    QTRY_VERIFY(
        list->viewport()->rect().intersects(list->visualItemRect(list->item(list->count() - 1))));
    c.lbBufRead().Clear();
    QTRY_COMPARE(list->count(), 0);
    form.close();
}

void TestMainWindow::lostPortIsLoggedAndShownClosed() {
    TAppDir dir;
    dir.WritePortSettings({"2"});
    TPseudoTerminal com2(dir, 2);
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(c.Port().Connected());
    c.Port().Close();
    c.Port().OnPortLost();
    QVERIFY(form.PanelPortProp->Caption().isEmpty());
    QVERIFY(form.btnOpenPort->isEnabled());
    QVERIFY(!form.btnClosePort->isEnabled());
    QVERIFY(!Find<QAction>(form, "mmSettsProp")->isEnabled());
    QVERIFY(form.MemoLog->Lines().last().contains("Com2"));
    // The loss is red; the closing of the port after it is an ordinary line.
    const QString lost = QString::fromStdString(c.Lang().Message(msgPortLost)) + "2";
    const int lostLine = form.MemoLog->Lines().lastIndexOf(
        QRegularExpression("^" + QRegularExpression::escape(lost) + ".*"));
    QVERIFY(lostLine >= 0);
    QCOMPARE(form.MemoLog->LineColor(lostLine), QColor(255, 0, 0));
    form.close();
}

void TestMainWindow::closingWritesPortNumberWhenAsked_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<std::string>("stored");
    QTest::newRow("save on") << true << std::string("7");
    QTest::newRow("save off") << false << std::string("1");
}

void TestMainWindow::closingWritesPortNumberWhenAsked() {
    QFETCH(bool, save);
    QFETCH(std::string, stored);
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TMessageBoxCatcher boxes;
    {
        TForm1 form;
        form.Controller().CommonDatas().SavePortProps = save;
        form.Controller().Port().SetPortNumber(7);
        form.close();
    }
    QCOMPARE(dir.ReadPortSettings(), std::vector<std::string>{stored});
}

QTEST_MAIN(TestMainWindow)
#include "main_window_test.moc"
