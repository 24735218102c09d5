// The link health indicator of the bottom line: it follows the counts reported from the
// receive thread, in colour and words, and a screen reader reaches it.

#include <QtTest>
#include <thread>

#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestLinkHealth : public QObject {
    Q_OBJECT
private slots:
    void indicatorFollowsFaultsFromTheReceiveThread();
};

void TestLinkHealth::indicatorFollowsFaultsFromTheReceiveThread() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.show();
    TController& c = form.Controller();
    auto* indicator = form.findChild<TLinkHealthIndicator*>("LinkHealth");
    QVERIFY(indicator && indicator->isVisible());
    QVERIFY(form.PanelPortProp->isAncestorOf(indicator));
    QCOMPARE(indicator->accessibleName(),
             QString::fromStdString(c.Lang().Message(msgLinkHealthName)));
    QVERIFY(indicator->focusPolicy() & Qt::TabFocus);
    QVERIFY(indicator->styleSheet().contains("#a8e0a8")); // green: nothing yet
    const QString transfer = QString::fromStdString(c.Lang().Message(msgLinkTipTransfer));
    QVERIFY(indicator->accessibleDescription().contains(transfer + "0"));

    // Reported where they happen, off the window thread; the window catches up.
    std::thread([&] {
        c.LinkHealth().TransferError();
        c.LinkHealth().PortLost();
    }).join();
    QTRY_VERIFY(indicator->accessibleDescription().contains(transfer + "1"));
    QCOMPARE(indicator->text(),
             QString::fromStdString(c.Lang().Message(msgLinkShort)) + "0 | 0 | 1 | 0 | 1 | -");
    QVERIFY(indicator->styleSheet().contains("#ffbf00")); // amber
    QCOMPARE(indicator->toolTip(), indicator->accessibleDescription().section('\n', 1));
    std::thread([&] { c.LinkHealth().TransferError(); }).join();
    QTRY_VERIFY(indicator->styleSheet().contains("#ff5050")); // red: three faults
    form.close();
}

QTEST_MAIN(TestLinkHealth)
#include "link_health_test.moc"
