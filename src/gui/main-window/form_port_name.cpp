#include "main-window/form_port_name.h"

#include "common/dialog_texts.h"

namespace zav {

namespace {
constexpr int OtherItem = 4;
}

TFormPortName::TFormPortName(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormPortName");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Chose port number");
    setFixedSize(384, 150);
    rgrPortName =
        new TRadioGroup("rgrPortName", QString(),
                        {"Com 1", "Com 2", "Com 3", "Com 4", "Other (5 - 255):"}, 2, this);
    rgrPortName->setGeometry(8, 8, 368, 96);
    SpinEditPortName = new QSpinBox(rgrPortName);
    SpinEditPortName->setObjectName("SpinEditPortName");
    SpinEditPortName->setRange(5, 255);
    SpinEditPortName->setValue(5);
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    QFont bold = ButtonOK->font();
    bold.setBold(true);
    ButtonOK->setFont(bold);
    ButtonOK->setGeometry(152, 114, 80, 26);
    PlaceSpinEdit();

    ApplyLanguage();
    const std::uint32_t port = controller_.Port().PortNumber();
    if (port >= 1 && port <= 4) {
        rgrPortName->SetItemIndex(static_cast<int>(port) - 1);
        SpinEditPortName->setEnabled(false);
    } else if (port >= 5 && port <= 255) {
        SpinEditPortName->setEnabled(true);
        rgrPortName->SetItemIndex(OtherItem);
        SpinEditPortName->setValue(static_cast<int>(port));
    } else {
        rgrPortName->SetItemIndex(-1);
        SpinEditPortName->setEnabled(false);
    }
    connect(rgrPortName, &TRadioGroup::Click, this, [this] { rgrPortNameClick(); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
}

void TFormPortName::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (!LoadDialogTexts(lang, 2))
        return;
    setWindowTitle(DialogText(lang, 1));
    rgrPortName->SetItemCaption(OtherItem, DialogText(lang, 2));
    PlaceSpinEdit();
}

void TFormPortName::PlaceSpinEdit() {
    // Beside the "Other" item, whatever the length of its caption: a longer caption
    // widens the window beyond its designed size.
    QRadioButton* other = rgrPortName->Button(OtherItem);
    rgrPortName->Arrange();
    const int columnWidth = (rgrPortName->width() - 16) / 2;
    const int needed = other->sizeHint().width() + 4 + 56 + 8;
    if (needed > columnWidth) {
        const int grow = 2 * (needed - columnWidth);
        rgrPortName->resize(rgrPortName->width() + grow, rgrPortName->height());
        setFixedSize(width() + grow, height());
        ButtonOK->move((width() - ButtonOK->width()) / 2, ButtonOK->y());
        rgrPortName->Arrange();
    }
    const int x = other->x() + other->sizeHint().width() + 4;
    SpinEditPortName->setGeometry(x, other->y() - 2, 56, 24);
    other->resize(x - other->x() - 2, other->height());
}

void TFormPortName::rgrPortNameClick() {
    SpinEditPortName->setEnabled(rgrPortName->ItemIndex() == OtherItem);
}

void TFormPortName::ButtonOKClick() {
    const int item = rgrPortName->ItemIndex();
    if (item >= 0 && item < OtherItem) {
        controller_.Port().SetPortNumber(static_cast<std::uint32_t>(item + 1));
    } else if (item == OtherItem) {
        SpinEditPortName->interpretText();
        const int value = SpinEditPortName->value();
        if (value >= 5 && value <= 255)
            controller_.Port().SetPortNumber(static_cast<std::uint32_t>(value));
        else
            controller_.ShowMessage(controller_.Lang().Message(21));
    }
    controller_.btnOpenPortClick();
    accept();
}

} // namespace zav
