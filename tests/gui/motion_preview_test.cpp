// The motion preview window: opened from the main window's menu on a list, it shows
// the estimate, follows edits, and chooses list lines by mouse and keyboard.

#include <QAbstractSpinBox>
#include <QAction>
#include <QTest>

#include "layout_relations.h"
#include "main-window/form1.h"
#include "program-editing/form_preview.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestMotionPreview : public QObject {
    Q_OBJECT
private slots:
    void previewOfARecordedMove();
    void laidOutInBothLanguages();
};

void TestMotionPreview::previewOfARecordedMove() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.rgrSingl_Mult->SetItemIndex(1);
    form.show();
    TController& c = form.Controller();
    TCommandEditor& editor = c.Editor();
    // LD1, BG, EN, AL0, SD200, DL, MV1000, ED: the move is line 7 of the grid.
    editor.btnLD1Click();
    editor.AddToolCommand(ciAL, "0");
    editor.AddToolCommand(ciSD, "200");
    editor.AddToolCommand(ciDL, "no");
    editor.AddToolCommand(ciMV, "1000");
    editor.btnEDClick();
    QCOMPARE(c.MemoSend().Count(), std::size_t{8});

    Find<QAction>(form, "mmPreview")->trigger();
    QPointer<TFormPreview> window = form.FormPreview;
    QVERIFY(window && window->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->lblSummary->text(),
             QString("<span style=\"color:#1f5fbf\">Coordinate 1: 1000 steps, 5.0 s</span><br>"
                     "List: 5.0 s"));
    TMotionPlot* plot = window->PlotMotion;
    TCommandGrid* grid = form.PanelMultC->StringGridSend;

    // A click on the end of the curve, then one on the middle of its slope: both are the
    // move. A click far from any curve chooses nothing.
    const QPointF start = plot->PointAt(1, 0), end = plot->PointAt(1, 1);
    const struct {
        const char* what;
        QPointF at;
        int row;
    } clicks[] = {
        {"end of the move", end, 7},
        {"beside the slope", (start + end) / 2 + QPointF(0, 3), 7},
        {"the start", start, 1},
        {"nowhere near", QPointF(end.x(), start.y()), 1},
    };
    for (const auto& click : clicks) {
        QTest::mouseClick(plot, Qt::LeftButton, {}, click.at.toPoint());
        QVERIFY2(grid->CurrentGridRow() == click.row, click.what);
    }

    // The keyboard: Right steps from the start to the move.
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_Right);
    QCOMPARE(grid->CurrentGridRow(), 1);
    QTest::keyClick(plot, Qt::Key_Right);
    QCOMPARE(grid->CurrentGridRow(), 7);

    // Other units: the list is converted to 2 steps a unit, the preview shows units.
    form.PanelUnits->EditStepsToUnits->setText("2");
    form.PanelUnits->rgrUnits->SetItemIndex(1);
    QTRY_COMPARE(window->lblSummary->text(),
                 QString("<span style=\"color:#1f5fbf\">Coordinate 1: 1000 Step, 5.0 s</span><br>"
                         "List: 5.0 s"));
    form.PanelUnits->rgrUnits->SetItemIndex(0);

    // An edit of the list reaches the open window: without the move, nothing moves.
    editor.btnDelRawClick(7);
    QTRY_COMPARE(window->lblSummary->text(),
                 QString("<span style=\"color:#1f5fbf\">Coordinate 1: 0 steps, 0.0 s</span><br>"
                         "List: 0.0 s"));

    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window || !window->isVisible());
    form.close();
}

void TestMotionPreview::laidOutInBothLanguages() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    c.MemoSend().SetLines(
        {"LD1", "SD100", "MV100", "WL1", "ED", "LD2", "SD1", "LL", "MV1", "JP255", "ED"});
    for (const char* language : {"en", "ru"}) {
        c.LanguageSwitch().SetLanguage(language);
        form.mmPreviewClick();
        TFormPreview* window = form.FormPreview;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        SettleLayouts();
        const QStringList faults = LayoutFaultsAtBothSizes(*window);
        QVERIFY2(faults.isEmpty(), qPrintable(QString(language) + ": " + faults.join('\n')));
        QSet<QString> names;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->focusPolicy() != Qt::NoFocus &&
                !qobject_cast<QAbstractSpinBox*>(w->parentWidget())) {
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
                QVERIFY2(!names.contains(w->accessibleName()), qPrintable(w->accessibleName()));
                names.insert(w->accessibleName());
            }
    }
    form.close();
}

QTEST_MAIN(TestMotionPreview)
#include "motion_preview_test.moc"
