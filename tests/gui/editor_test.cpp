// The extended mode's editor and the simple mode through their widgets: buttons and
// fields, dragging and deleting rows, the keyboard, and the names a screen reader reads.

#include <QAccessible>
#include <QMimeData>
#include <QtTest>

#include "common/command_grid.h"
#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void buttonsFieldsAndRows();
    void keyboard();
    void everyControlHasItsOwnName();
};

namespace {
std::unique_ptr<TForm1> ExtendedForm() {
    auto form = std::make_unique<TForm1>([](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(1); });
    return form;
}

QStringList Commands(TController& c) {
    QStringList lines;
    for (const std::string& line : c.MemoSend().Lines())
        lines << QString::fromStdString(line);
    return lines;
}

// Drags grid row from (0-based) onto row to, as the mouse does: the drag enters the
// grid, moves over the row and is dropped there.
void DropRow(TCommandGrid* grid, int from, int to) {
    QAbstractItemModel* model = grid->model();
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(from, 0)}));
    const QPoint at = grid->visualRect(model->index(to, 2)).center();
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &drop);
}
} // namespace

void TestEditor::buttonsFieldsAndRows() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    auto form = ExtendedForm();
    form->show();
    // Start-up's message comes once the window is shown: no port here.
    QTRY_VERIFY(!boxes.Texts.isEmpty());
    TController& c = form->Controller();
    TToolPanel& tools = *form->PanelMultC->ToolPanel;
    auto* grid = form->PanelMultC->StringGridSend;
    boxes.Texts.clear();

    tools.btnLD1->click();
    tools.EditSD->setText("300");
    tools.btnSD->click();
    tools.EditAL->setText("15");
    tools.btnAL->click();
    tools.EditSP->setText("1.5"); // a whole number is needed: message 14, nothing added
    tools.btnSP->click();
    tools.EditSF->setText("2,5");
    tools.btnSF->click();
    tools.btnED->click();
    QCOMPARE(Commands(c), (QStringList{"LD1", "BG", "EN", "SD300", "AL+15", "ED"}));
    QCOMPARE(boxes.Texts.size(), 2);

    QCOMPARE(boxes.Texts[0], QString::fromStdString(c.Lang().Message(14)));
    QCOMPARE(grid->model()->rowCount(), 7);
    QCOMPARE(grid->model()->index(3, 0).data().toString(), QString("4"));
    QVERIFY(grid->model()->index(3, 2).data().toString().contains("300"));

    // Row 4 (SD300) dragged onto row 1, then row 1 dropped onto the trailing row.
    DropRow(grid, 3, 0);
    QCOMPARE(Commands(c), (QStringList{"SD300", "LD1", "BG", "EN", "AL+15", "ED"}));
    QVERIFY(grid->model()->index(0, 2).data().toString().contains("300"));
    QCOMPARE(grid->model()->index(5, 0).data().toString(), QString("6"));
    DropRow(grid, 0, 6);
    QCOMPARE(Commands(c), (QStringList{"LD1", "BG", "EN", "AL+15", "ED"}));
    for (int row = 0; row < 5; ++row)
        QCOMPARE(grid->model()->index(row, 0).data().toString(), QString::number(row + 1));
    QCOMPARE(grid->model()->index(5, 0).data().toString(), QString());
    DropRow(grid, 5, 0); // the trailing row stays last
    QCOMPARE(Commands(c).size(), 5);

    grid->SetCurrentGridRow(2);
    form->PanelMultC->btnDelRaw->click();
    QCOMPARE(Commands(c), (QStringList{"LD1", "EN", "AL+15", "ED"}));
    form->PanelMultC->btnAllClear->click();
    QCOMPARE(grid->model()->rowCount(), 1);
    form->close();
}

void TestEditor::keyboard() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    auto form = ExtendedForm();
    form->show();
    QTRY_VERIFY(!boxes.Texts.isEmpty()); // start-up's: no port here
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    TController& c = form->Controller();
    TToolPanel& tools = *form->PanelMultC->ToolPanel;
    auto* grid = form->PanelMultC->StringGridSend;

    // Enter in a field presses its button.
    tools.EditMVn->setFocus();
    tools.EditMVn->setText("700");
    QTest::keyClick(tools.EditMVn, Qt::Key_Return);
    tools.EditWH->setFocus();
    QTest::keyClick(tools.EditWH, Qt::Key_Enter);
    QCOMPARE(Commands(c), (QStringList{"MV700", "WH1"}));

    // In the grid: Ctrl+Down moves the current row, Delete removes it, Tab leaves.
    grid->setFocus();
    grid->SetCurrentGridRow(1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(Commands(c), (QStringList{"WH1", "MV700"}));
    QCOMPARE(grid->CurrentGridRow(), 2);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier); // not onto the trailing row
    QCOMPARE(Commands(c).size(), 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(Commands(c), (QStringList{"WH1"}));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tools.btnBG));
    form->close();
}

void TestEditor::everyControlHasItsOwnName() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    QMap<QString, QString> owners; // accessible name -> object name
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QAbstractScrollArea*>(w->parent()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        const QString name = a->text(QAccessible::Name).trimmed();
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName() + " " + w->metaObject()->className()));
        QVERIFY2(!owners.contains(name),
                 qPrintable(name + ": " + owners.value(name) + " and " + w->objectName()));
        owners.insert(name, w->objectName());
    }
    QVERIFY(owners.size() > 60);
    form.close();
}

QTEST_MAIN(TestEditor)
#include "editor_test.moc"
