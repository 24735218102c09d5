// Every dialog lays itself out: in English and in Russian, at the usual font and at a
// larger one, nothing sticks out of its parent, no two controls overlap, no caption is
// cut, and the same holds when the window is made as small as it lets itself be.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <functional>
#include <memory>

#include "common/at_least.h"
#include "localisation/form_lang.h"
#include "main-window/form1.h"
#include "main-window/form_byte_len.h"
#include "main-window/form_color_indicators.h"
#include "main-window/form_coord.h"
#include "main-window/form_port_name.h"
#include "program-editing/form_chan_read.h"
#include "settings/form_err_nastr.h"
#include "settings/form_errores.h"
#include "settings/form_prog_prop.h"
#include "test_support.h"

using namespace zav;
using namespace zav::test;

using TMakeDialog = std::function<QDialog*(TForm1&)>;
Q_DECLARE_METATYPE(TMakeDialog)

class TestDialogLayout : public QObject {
    Q_OBJECT
private slots:
    void dialogHoldsItsContents_data();
    void dialogHoldsItsContents();
};

namespace {
template <class TDialog> TMakeDialog Make() {
    return [](TForm1& form) -> QDialog* { return new TDialog(form.Controller(), &form); };
}

// Widgets that hold controls; anything else is a control, whose own parts are its own.
bool IsContainer(const QWidget* w) {
    const QMetaObject* type = w->metaObject();
    return qobject_cast<const QGroupBox*>(w) || qobject_cast<const QDialog*>(w) ||
           type == &QFrame::staticMetaObject || type == &QWidget::staticMetaObject;
}

QString Name(const QWidget* w) {
    return QString("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
}

// What a control's caption needs and does not get; empty when it fits.
QString CutCaption(const QWidget* w) {
    const QFontMetrics& fm = w->fontMetrics();
    QSize need;
    if (auto* b = qobject_cast<const QPushButton*>(w); b && !b->text().isEmpty())
        need = {fm.horizontalAdvance(b->text()) +
                    2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth),
                fm.height()};
    else if (auto* a = qobject_cast<const QAbstractButton*>(w); a && !a->text().isEmpty())
        need = a->sizeHint();
    else if (auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty())
        need = l->wordWrap() ? QSize(0, l->heightForWidth(l->width())) : l->sizeHint();
    else if (auto* c = qobject_cast<const QComboBox*>(w); c && c->isEditable())
        // The field's text with its margins of 2 on each side, and the rest of the box.
        need = {fm.horizontalAdvance(c->currentText()) + 4 + c->width() - c->lineEdit()->width(),
                0};
    else if (auto* g = qobject_cast<const QGroupBox*>(w); g && !g->title().isEmpty())
        need = {GroupTitleWidth(*g), fm.height()};
    if (w->width() >= need.width() && w->height() >= need.height())
        return {};
    return QString("%1 is cut: %2x%3, needs %4x%5")
        .arg(Name(w))
        .arg(w->width())
        .arg(w->height())
        .arg(need.width())
        .arg(need.height());
}

// The faults of one container and of the containers in it.
void Faults(const QWidget* container, QStringList& faults) {
    QList<const QWidget*> controls;
    for (const QObject* child : container->children()) {
        auto* w = qobject_cast<const QWidget*>(child);
        if (!w || w->isWindow() || !w->isVisibleTo(container))
            continue;
        controls << w;
        if (!container->rect().contains(w->geometry()))
            faults << Name(w) + " sticks out of " + Name(container);
        if (QString cut = CutCaption(w); !cut.isEmpty())
            faults << cut;
        if (IsContainer(w))
            Faults(w, faults);
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << Name(controls[i]) + " overlaps " + Name(controls[j]);
}

} // namespace

void TestDialogLayout::dialogHoldsItsContents_data() {
    QTest::addColumn<TMakeDialog>("make");
    QTest::addColumn<QString>("language");
    QTest::addColumn<double>("scale");
    const std::pair<const char*, TMakeDialog> dialogs[] = {
        {"port number", Make<TFormPortName>()},
        {"port properties", Make<TFormByteLen>()},
        {"coordinate selection", Make<TFormCoord>()},
        {"coordinate states", Make<TFormColorIndicators>()},
        {"error handling", Make<TFormErrNastr>()},
        {"error recovery", Make<TFormErrores>()},
        {"program settings",
         [](TForm1& form) -> QDialog* { return new TFormProgProp(form.Controller(), {}, &form); }},
        {"read-back", Make<TFormChanRead>()},
        {"language", Make<TFormLang>()},
    };
    for (const auto& [name, make] : dialogs)
        for (const char* language : {"en", "ru"})
            for (double scale : {1.0, 1.5})
                QTest::addRow("%s, %s, font x%.1f", name, language, scale)
                    << make << QString(language) << scale;
}

void TestDialogLayout::dialogHoldsItsContents() {
    QFETCH(TMakeDialog, make);
    QFETCH(QString, language);
    QFETCH(double, scale);
    TAppDir dir;
    TMessageBoxCatcher boxes;
    TForm1 form;
    form.Controller().LanguageSwitch().SetLanguage(language.toStdString());
    const QFont usual = QApplication::font();
    auto restore = qScopeGuard([usual] { QApplication::setFont(usual); });
    QFont larger = usual;
    larger.setPointSizeF(usual.pointSizeF() * scale);
    QApplication::setFont(larger);
    std::unique_ptr<QDialog> dialog(make(form));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QStringList faults;
    Faults(dialog.get(), faults);
    QVERIFY2(faults.isEmpty(), qPrintable("as shown: " + faults.join("; ")));

    // As small as the window lets itself be made: its least size holds its contents.
    dialog->resize(1, 1);
    QTRY_COMPARE(dialog->size(), dialog->minimumSize());
    Faults(dialog.get(), faults);
    QVERIFY2(faults.isEmpty(), qPrintable("at the least size: " + faults.join("; ")));
}

QTEST_MAIN(TestDialogLayout)
#include "dialog_layout_test.moc"
