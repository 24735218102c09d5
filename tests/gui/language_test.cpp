// Switching the whole program to Russian and back through the language dialog.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include "common/control_caption.h"
#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void everyMainWindowTextReachesItsControl();
    void switchToRussianAndBack();
    void russianCaptionsAreNotCut_data();
    void russianCaptionsAreNotCut();
    void nextStartComesUpInTheChosenLanguage();
};

namespace {
QString U(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

void TestLanguage::everyMainWindowTextReachesItsControl() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    const TLang& lang = form.Controller().Lang();
    QCOMPARE(QString::fromStdString(lang.FormTexts[0]), QString("f1"));
    for (const TMainFormText& t : MainFormTexts())
        QVERIFY2(ControlCaption(form, t.Control, t.Item) ==
                     QString::fromStdString(lang.FormTexts[static_cast<std::size_t>(t.Entry)]),
                 t.Control);
    QCOMPARE(form.windowTitle(), QString("Zav_Program - ver.4.0.3"));
    QCOMPARE(ControlCaption(form, "StTBeginSpeed", -1), QString("Start speed"));
    QVERIFY(!boxes.Saw("not found"));
}

void TestLanguage::switchToRussianAndBack() {
    TAppDir dir;
    dir.WritePortSettings({"1"});
    TPseudoTerminal com1(dir, 1); // the bottom line keeps the device through each switch
    TMessageBoxCatcher boxes;
    TForm1 form;
    struct Step {
        Qt::Key key;
        const char *language, *shown, *openPort, *coordinates, *dialog, *portDialog, *stateGroup;
    } steps[] = {
        // From no choice, Down gives the first language and then the second, each shown
        // by its own name.
        {Qt::Key_Down, "en", "English", "Open port", "Coordinates:", "Set language",
         "Port properties", "1 coordinate"},
        {Qt::Key_Down, "ru", "Русский", "Открыть порт", "Координаты:", "Выбор языка",
         "Параметры порта", "1 координата"},
        {Qt::Key_Up, "en", "English", "Open port", "Coordinates:", "Set language",
         "Port properties", "1 coordinate"},
    };
    // What each step showed; compared once the dialog is closed.
    struct Seen {
        QString confirmation, language, openPort, coordinates, dialog, portDialog, stateGroup,
            portLine;
    };
    std::vector<Seen> seen;
    std::vector<QString> questions;
    auto driver = OnShown<TFormLang>([&](TFormLang* d) {
        TController& c = form.Controller();
        for (const Step& s : steps) {
            questions.push_back(QString::fromStdString(c.Lang().Message(25)) + U(s.shown) + "\"?");
            QTest::keyClick(d->ComboBoxLang, s.key);
            TFormByteLen byteLen(c, &form);
            TFormColorIndicators states(c, &form);
            seen.push_back({boxes.Texts.value(boxes.Texts.size() - 1),
                            QString::fromStdString(c.CommonDatas().Language),
                            form.btnOpenPort->text(), form.PanelCoordinates->Caption(),
                            d->windowTitle(), byteLen.windowTitle(), states.rgr1->title(),
                            form.PanelPortProp->Caption()});
        }
        d->close();
    });
    Find<QAction>(form, "mmLang")->trigger();
    QCOMPARE(seen.size(), std::size(steps));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const Step& s = steps[i];
        QCOMPARE(seen[i].confirmation, questions[i]);
        QCOMPARE(seen[i].language, QString(s.language));
        QCOMPARE(seen[i].openPort, U(s.openPort));
        QVERIFY(seen[i].coordinates.startsWith(U(s.coordinates)));
        QCOMPARE(seen[i].dialog, U(s.dialog));
        QCOMPARE(seen[i].portDialog, U(s.portDialog));
        QCOMPARE(seen[i].stateGroup, U(s.stateGroup));
        QVERIFY2(seen[i].portLine.contains("/dev/pts/"), qPrintable(seen[i].portLine));
    }

    // The information box follows the language of the moment.
    Find<QAction>(form, "mmVers")->trigger();
    QVERIFY(boxes.Texts.last().startsWith("Software Zav_Program ver.4.0.3"));
    QVERIFY(boxes.Texts.last().contains(QString("Qt version: ") + qVersion()));
}

void TestLanguage::russianCaptionsAreNotCut_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("englishWidth");
    QTest::newRow("simple mode") << 0 << 370;
    QTest::newRow("extended mode") << 1 << 394;
}

void TestLanguage::russianCaptionsAreNotCut() {
    QFETCH(int, mode);
    QFETCH(int, englishWidth);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form([mode](TForm1& f) { f.rgrSingl_Mult->SetItemIndex(mode); });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.width(), englishWidth);
    form.Controller().LanguageSwitch().SetLanguage("ru");
    QCOMPARE(form.PanelSingeC->btnPusk->text(), U("Записать и запустить"));

    // A push button's style asks for a floor wider than short captions need; the
    // caption itself and the button's frame must fit.
    const int frame = 2 * form.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    int checked = 0;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&form))
            continue;
        int need = -1;
        if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty())
            need = b->fontMetrics().horizontalAdvance(b->text()) + frame;
        else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty())
            need = l->sizeHint().width();
        else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
            need = static_cast<QAbstractButton*>(w)->text().isEmpty() ? -1 : w->sizeHint().width();
        if (need < 0)
            continue;
        ++checked;
        QVERIFY2(w->width() >= need,
                 qPrintable(QString("%1 \"%2\": %3 wide, needs %4")
                                .arg(w->objectName(), ControlCaption(form, w->objectName(), -1))
                                .arg(w->width())
                                .arg(need)));
    }
    QVERIFY(checked > 15);
    QVERIFY(form.width() >= englishWidth);
    QVERIFY(form.minimumWidth() <= form.width());

    // Back in English the window returns to its built width.
    form.Controller().LanguageSwitch().SetLanguage("en");
    QCOMPARE(form.width(), englishWidth);
}

void TestLanguage::nextStartComesUpInTheChosenLanguage() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    {
        TForm1 form;
        form.Controller().LanguageSwitch().SetLanguage("ru");
        form.close(); // saves the program settings, the language with them
    }
    TForm1 again;
    QCOMPARE(QString::fromStdString(again.Controller().CommonDatas().Language), QString("ru"));
    QCOMPARE(again.btnOpenPort->text(), U("Открыть порт"));
    QCOMPARE(again.mmFile->title().remove('&'), U("Файл"));
    again.close();
}

QTEST_MAIN(TestLanguage)
#include "language_test.moc"
