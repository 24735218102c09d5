#include "main-window/form_byte_len.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"

namespace zav {

TFormByteLen::TFormByteLen(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormByteLen");
    auto* guard = new TDialogGuard(*this, true);
    setWindowTitle("Port properties");
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    rgrDataLen = new TRadioGroup("rgrDataLen", "Data bits:", {"5", "6", "7", "8"}, 2, this);
    rgrStopBits = new TRadioGroup("rgrStopBits", "Stop-bits:", {"1", "2 (1,5)"}, 1, this);
    rgrParity =
        new TRadioGroup("rgrParity", "Parity:", {"None", "Odd", "Even", " 1", " 0"}, 1, this);
    lblBaudRate = new QLabel("Baud rate:", this);
    lblBaudRate->setObjectName("lblBaudRate");
    cbPortSpeed = new QComboBox(this);
    cbPortSpeed->setObjectName("cbPortSpeed");
    for (std::uint32_t rate : BaudRates)
        cbPortSpeed->addItem(QString::number(rate));
    btnOK = new QPushButton(QString::fromStdString(controller_.Lang().Message(msgOk)), this);
    btnOK->setObjectName("btnOK");
    btnCancel =
        new QPushButton(QString::fromStdString(controller_.Lang().Message(msgCancel)), this);
    btnCancel->setObjectName("btnCancel");
    // Laid out so that longer captions of another language or a larger font widen the
    // window instead of being cut.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->addWidget(rgrDataLen, 0, 0);
    grid->addWidget(rgrStopBits, 1, 0);
    grid->addWidget(rgrParity, 0, 1, 2, 1);
    auto* baud = new QHBoxLayout;
    baud->addWidget(lblBaudRate);
    baud->addWidget(cbPortSpeed);
    grid->addLayout(baud, 2, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    rgrDataLen->SetItemIndex(3);
    rgrStopBits->SetItemIndex(0);
    rgrParity->SetItemIndex(0);
    cbPortSpeed->setCurrentIndex(6);

    ApplyLanguage();
    const TComPort& port = controller_.Port();
    rgrDataLen->SetItemIndex(port.DataBits() <= 3 ? port.DataBits() : -1);
    rgrParity->SetItemIndex(port.Parity() <= 4 ? port.Parity() : -1);
    rgrStopBits->SetItemIndex(port.StopBits() == 0 ? 0 : 1);
    cbPortSpeed->setCurrentIndex(port.BaudIndex() < cbPortSpeed->count() ? port.BaudIndex() : -1);

    // OK may show a refused setting in a message box: a second OK meanwhile is ignored.
    guard->Connect(btnOK, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { close(); });
}

void TFormByteLen::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    if (!LoadDialogTexts(lang, 11))
        return;
    setWindowTitle(DialogText(lang, 3));
    rgrDataLen->setTitle(DialogText(lang, 4));
    rgrStopBits->setTitle(DialogText(lang, 5));
    rgrParity->setTitle(DialogText(lang, 6));
    lblBaudRate->setText(DialogText(lang, 7));
    for (int item = 0; item < 3; ++item)
        rgrParity->SetItemCaption(item, DialogText(lang, 8 + item));
    btnCancel->setText(DialogText(lang, 11));
}

void TFormByteLen::btnOKClick() {
    // A group without a selection leaves its value as it is.
    TComPort& port = controller_.Port();
    const int dataBits = rgrDataLen->ItemIndex();
    if (dataBits >= 0)
        port.SetDataBits(static_cast<std::uint8_t>(dataBits));
    // "2 (1,5)" means one and a half stop bits with 5 data bits, two otherwise.
    if (rgrStopBits->ItemIndex() == 0)
        port.SetStopBits(0);
    else if (rgrStopBits->ItemIndex() == 1)
        port.SetStopBits(dataBits == 0 ? 1 : 2);
    if (rgrParity->ItemIndex() >= 0)
        port.SetParity(static_cast<std::uint8_t>(rgrParity->ItemIndex()));
    if (cbPortSpeed->currentIndex() >= 0)
        port.SetBaudIndex(static_cast<std::uint8_t>(cbPortSpeed->currentIndex()));
    controller_.PortConnection().PortSettingsChanged();
    close();
}

} // namespace zav
