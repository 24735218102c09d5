// What the window says and how: the colour of each log line, the scale controls after a
// restart, and the texts that follow the window's language.

#include <QAccessible>
#include <QtTest>
#include <cstring>
#include <filesystem>

#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "main-window/form_port_name.h"
#include "program-editing/form_chan_read.h"
#include "program-editing/form_preview.h"
#include "settings/form_err_nastr.h"
#include "settings/form_errores.h"
#include "settings/form_prog_prop.h"
#include "state/text_file.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void eachLogLineHasItsOwnColour_data();
    void eachLogLineHasItsOwnColour();
    void scaleControlsFollowTheUnitsAfterRestart_data();
    void scaleControlsFollowTheUnitsAfterRestart();
    void accessibleNamesFollowTheLanguage();
    void fileErrorsGiveTheReasonInTheLanguage();
};

namespace {
// Words of the window's language: at least one Cyrillic letter. A text without any
// Latin letter (a number, a sign) belongs to no language, nor does a port's name.
bool Untranslated(const QString& text) {
    static const QRegularExpression portName("^Com ?\\d+$");
    if (portName.match(text).hasMatch())
        return false;
    bool latin = false;
    for (QChar ch : text) {
        if (ch.script() == QChar::Script_Cyrillic)
            return false;
        latin |= ch.script() == QChar::Script_Latin;
    }
    return latin;
}

// The accessible names of the controls one can reach, and every hint, that are still in
// English.
QStringList UntranslatedTexts(QWidget& window) {
    QStringList found;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        QStringList texts{w->toolTip()};
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QAbstractScrollArea*>(w->parent()))
            texts << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        for (const QString& text : texts)
            if (Untranslated(text))
                found << window.objectName() + "/" + w->objectName() + ": " + text;
    }
    for (QAction* a : window.findChildren<QAction*>())
        if (a->isVisible() && Untranslated(a->text()))
            found << window.objectName() + "/" + a->objectName() + ": " + a->text();
    return found;
}
} // namespace

void TestTexts::eachLogLineHasItsOwnColour_data() {
    QTest::addColumn<QString>("replies");
    QTest::addColumn<QList<bool>>("red"); // of each new line
    QTest::newRow("error, then a recording")
        << "E16*LD1*E10*ED*E10*" << QList<bool>{true, false, false};
    QTest::newRow("two errors, then a start")
        << "E19*E16*ST1*E10*" << QList<bool>{true, true, false, false};
    QTest::newRow("an error between two ordinary lines")
        << "LD1*E10*E26*ED*E10*" << QList<bool>{false, true, false};
}

void TestTexts::eachLogLineHasItsOwnColour() {
    QFETCH(QString, replies);
    QFETCH(QList<bool>, red);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.show();
    TMemoLog& log = *form.MemoLog;
    const int before = log.Lines().size();
    form.Controller().ProcessReplies(replies.toStdString());
    QTRY_COMPARE(log.Lines().size(), before + red.size());
    const QColor text = log.palette().color(QPalette::Text);
    for (int i = 0; i < red.size(); ++i)
        QVERIFY2(log.LineColor(before + i) == (red[i] ? QColor(255, 0, 0) : text),
                 qPrintable(log.Lines()[before + i]));
    form.close();
}

void TestTexts::scaleControlsFollowTheUnitsAfterRestart_data() {
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("scale");
    QTest::newRow("other units") << 1 << 2.5;
    QTest::newRow("steps") << 0 << 1.0;
}

void TestTexts::scaleControlsFollowTheUnitsAfterRestart() {
    QFETCH(int, units);
    QFETCH(double, scale);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    {
        TForm1 form;
        form.show();
        TPanelUnits& strip = *form.PanelUnits;
        strip.rgrUnits->Button(units)->click();
        if (units == 1) {
            strip.EditStepsToUnits->setText("2.5");
            strip.btnScaleChange->click();
        }
        form.mmExit->trigger(); // closes as the window's close does, saving the settings
        QVERIFY(!form.isVisible());
    }
    TForm1 again;
    again.show();
    TPanelUnits& strip = *again.PanelUnits;
    QCOMPARE(strip.rgrUnits->ItemIndex(), units);
    QCOMPARE(again.Controller().CommonDatas().Scale, scale);
    for (QWidget* w : std::initializer_list<QWidget*>{
             strip.GrBoxStepsToUnits, strip.Label3, strip.EditStepsToUnits, strip.lblScale,
             strip.lblSteps, strip.lblTrunc, strip.btnScaleChange})
        QVERIFY2(w->isEnabled() == (units == 1), qPrintable(w->objectName()));
    again.close();
}

void TestTexts::accessibleNamesFollowTheLanguage() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    TController& c = form.Controller();
    QVERIFY(UntranslatedTexts(form).size() > 40); // the check sees the English window
    c.LanguageSwitch().SetLanguage("ru");
    QStringList found = UntranslatedTexts(form);
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.emplace_back(std::make_unique<TFormPortName>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormByteLen>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormCoord>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormColorIndicators>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormLang>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormErrNastr>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormErrores>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormProgProp>(
        c, [] {}, &form));
    dialogs.emplace_back(std::make_unique<TFormChanRead>(c, &form));
    dialogs.emplace_back(std::make_unique<TFormPreview>(c, nullptr, &form));
    for (auto& dialog : dialogs)
        found << UntranslatedTexts(*dialog);
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    dialogs.clear();
    form.close();
}

void TestTexts::fileErrorsGiveTheReasonInTheLanguage() {
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    const TLang& lang = form.Controller().Lang();
    form.Controller().LanguageSwitch().SetLanguage("ru");
    const std::string readOnly = (dir.Path() + "/Data/read-only.dat").toStdString();
    SaveLines(readOnly, {"1"}, false);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    struct Case {
        const char* what;
        std::function<void()> fail;
        std::string fileName;
        int reason;
        int error; // the system's error, 0: none
    } cases[] = {
        {"missing folder", [&] { SaveLines(dir.Path().toStdString() + "/no/x.dat", {}, false); },
         dir.Path().toStdString() + "/no/x.dat", msgFileMissing, ENOENT},
        {"read-only file", [&] { SaveLines(readOnly, {"2"}, false); }, readOnly, msgFileReadOnly,
         0},
        {"full disk",
         [] {
             TEncodedStream full("/dev/full", false, TFileMode::Create);
             full.Write("x", 1);
         },
         "/dev/full", msgFileDiskFull, ENOSPC},
    };
    for (const Case& t : cases) {
        std::string text;
        try {
            t.fail();
        } catch (const EFileStreamError& e) {
            text = lang.FileErrorText(e);
        }
        std::string expected = t.fileName + ": " + lang.Message(t.reason);
        if (t.error)
            expected += std::string(" (") + std::strerror(t.error) + ")";
        QCOMPARE(text, expected);
        QVERIFY2(!Untranslated(QString::fromStdString(lang.Message(t.reason))), t.what);
    }
    form.close();
}

QTEST_MAIN(TestTexts)
#include "texts_test.moc"
