#include "localisation/form_lang.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include "common/dialog_texts.h"
#include "common/qt_message_box.h"

namespace zav {

namespace {
// The list of languages, as wide as the text in its field: that is the invitation to
// choose, which is longer than the languages' names.
class TLanguageBox : public QComboBox {
public:
    explicit TLanguageBox(QWidget* parent) : QComboBox(parent) {
        connect(this, &QComboBox::editTextChanged, this, [this] { updateGeometry(); });
    }

    QSize minimumSizeHint() const override { return ForText(QComboBox::minimumSizeHint()); }
    QSize sizeHint() const override { return ForText(QComboBox::sizeHint()); }

private:
    QSize ForText(QSize hint) const {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        // The field's own margins: 2 on each side of the text.
        const QSize text(fontMetrics().horizontalAdvance(currentText()) + 4,
                         fontMetrics().height());
        return hint.expandedTo(style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this));
    }
};
} // namespace

TFormLang::TFormLang(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormLang");
    setWindowTitle("Set language");
    lbl1 = new QLabel("Please, select language from the list:", this);
    lbl1->setObjectName("lbl1");
    QFont bold = lbl1->font();
    bold.setBold(true);
    lbl1->setFont(bold);
    ComboBoxLang = new TLanguageBox(this);
    ComboBoxLang->setObjectName("ComboBoxLang");
    ComboBoxLang->setEditable(true);
    ComboBoxLang->setAccessibleName("Language");
    ComboBoxLang->setInsertPolicy(QComboBox::NoInsert);
    lbl1->setBuddy(ComboBoxLang);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl1);
    layout->addWidget(ComboBoxLang);
    layout->addStretch();

    ApplyLanguage();
    // Each language by its own name; the item keeps the name lang.lng gives it.
    TLanguageSwitch& languages = controller_.LanguageSwitch();
    for (const std::string& name : languages.LoadLanguageList())
        ComboBoxLang->addItem(QString::fromStdString(languages.OwnName(name)),
                              QString::fromStdString(name));
    ComboBoxLang->setCurrentIndex(-1);
    ComboBoxLang->setEditText(lbl1->text());
    // Chosen with the mouse or the arrow keys; typing into the field chooses nothing.
    connect(ComboBoxLang, &QComboBox::activated, this,
            [this](int index) { ComboBoxLangClick(index); });
}

void TFormLang::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (!LoadDialogTexts(lang, 27))
        return;
    setWindowTitle(DialogText(lang, 25));
    lbl1->setText(DialogText(lang, 27));
    ComboBoxLang->setEditText(DialogText(lang, 27));
    ComboBoxLang->setAccessibleName(DialogText(lang, 27));
}

bool TFormLang::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    TranslateButtons(box, controller_.Lang());
    const int answer = box.exec();
    // A box accepted without a button (as the program's own answerer does) means OK too.
    return answer == QMessageBox::Ok || (answer == QDialog::Accepted && !box.clickedButton());
}

void TFormLang::ComboBoxLangClick(int index) {
    if (index < 0 || index >= ComboBoxLang->count())
        return;
    const std::string name = ComboBoxLang->itemData(index).toString().toStdString();
    const std::string shown = ComboBoxLang->itemText(index).toStdString();
    if (!Confirm(QString::fromStdString(controller_.LanguageSwitch().ConfirmationText(shown))))
        return;
    controller_.LanguageSwitch().SetLanguage(name);
    ApplyLanguage();
}

} // namespace zav
