// The main window keeps its layout relations in both control modes, in both languages
// and at a larger font: nothing outside its panel, nothing overlapping, nothing cut.

#include <QTest>

#include "layout_relations.h"
#include "main-window/form1.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestLayoutRelations : public QObject {
    Q_OBJECT
private slots:
    void mainWindowKeepsItsRelations_data();
    void mainWindowKeepsItsRelations();
};

void TestLayoutRelations::mainWindowKeepsItsRelations_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("language");
    QTest::addColumn<double>("fontScale");
    for (int mode : {0, 1})
        for (const char* language : {"en", "ru"})
            for (double scale : {1.0, 1.5})
                QTest::addRow("%s mode, %s, font x%.1f", mode ? "extended" : "simple", language,
                              scale)
                    << mode << QString(language) << scale;
}

void TestLayoutRelations::mainWindowKeepsItsRelations() {
    QFETCH(int, mode);
    QFETCH(QString, language);
    QFETCH(double, fontScale);
    const QFont font = QApplication::font();
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * fontScale);
    QApplication::setFont(larger);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([mode](TForm1& f) {
        f.Controller().CommonDatas().ShowLoadLog = true;
        f.Controller().CommonDatas().ShowPortLog = true;
        f.rgrSingl_Mult->SetItemIndex(mode);
    });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Controller().LanguageSwitch().SetLanguage(language.toStdString());

    const QStringList faults = LayoutFaultsAtBothSizes(form);
    form.close();
    QApplication::setFont(font);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

QTEST_MAIN(TestLayoutRelations)
#include "layout_relations_test.moc"
