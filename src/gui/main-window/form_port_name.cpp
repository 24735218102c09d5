#include "main-window/form_port_name.h"

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"

namespace zav {

namespace {
constexpr int OtherItem = 4;
}

TFormPortName::TFormPortName(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormPortName");
    // Shown modally by its owner, which frees it; OK may show a message box meanwhile.
    auto* guard = new TDialogGuard(*this, false);
    setWindowTitle("Chose port number");
    setFixedSize(384, 284);
    rgrPortName =
        new TRadioGroup("rgrPortName", QString(),
                        {"Com 1", "Com 2", "Com 3", "Com 4", "Other (5 - 255):"}, 2, this);
    rgrPortName->setGeometry(8, 8, 368, 96);
    SpinEditPortName = new QSpinBox(rgrPortName);
    SpinEditPortName->setObjectName("SpinEditPortName");
    SpinEditPortName->setRange(5, 255);
    SpinEditPortName->setValue(5);
    ButtonOK = new QPushButton(QString::fromStdString(controller_.Lang().Message(msgOk)), this);
    ButtonOK->setObjectName("ButtonOK");
    QFont bold = ButtonOK->font();
    bold.setBold(true);
    ButtonOK->setFont(bold);
    ButtonOK->setGeometry(112, 114, 80, 26);
    ButtonOK->setDefault(true);
    btnCancel =
        new QPushButton(QString::fromStdString(controller_.Lang().Message(msgCancel)), this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setGeometry(200, 114, 80, 26);

    // Below the designed part: the devices present, to choose a port by its device.
    lblDevices =
        new QLabel(QString::fromStdString(controller_.Lang().Message(msgSerialDevices)), this);
    lblDevices->setObjectName("lblDevices");
    lbDevices = new QListWidget(this);
    lbDevices->setObjectName("lbDevices");
    lbDevices->setAccessibleName(lblDevices->text());
    lblDevices->setBuddy(lbDevices);
    btnRefresh =
        new QPushButton(QString::fromStdString(controller_.Lang().Message(msgRefresh)), this);
    btnRefresh->setObjectName("btnRefresh");
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
    guard->Connect(ButtonOK, [this] { ButtonOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnRefresh, &QPushButton::clicked, this, [this] { FillDevices(); });
    connect(lbDevices, &QListWidget::currentRowChanged, this, [this](int row) {
        // A device that already is a port selects that port's number.
        if (row < 0 || static_cast<std::size_t>(row) >= devices_.size())
            return;
        const TSerialDevice& device = devices_[static_cast<std::size_t>(row)];
        int n = LinkedPortNumber(controller_.Port().PortsDir(), device.Path);
        if (n == 0 && device.Path.rfind("COM", 0) == 0)
            n = std::atoi(device.Path.c_str() + 3);
        if (n > 0)
            SelectNumber(n);
    });
    QMetaObject::invokeMethod(
        this, [this] { FillDevices(); }, Qt::QueuedConnection);
}

void TFormPortName::FillDevices() {
    devices_ = ListDevices();
    lbDevices->clear();
    const std::string portsDir = controller_.Port().PortsDir();
    for (const TSerialDevice& device : devices_) {
        const int n = LinkedPortNumber(portsDir, device.Path);
        QString text =
            QString::fromStdString(device.Description(controller_.Lang().Message(msgDriverPort)));
        if (n > 0)
            text = QString("Com %1: ").arg(n) + text;
        lbDevices->addItem(text);
    }
}

int TFormPortName::ChosenNumber() const {
    const int item = rgrPortName->ItemIndex();
    if (item >= 0 && item < OtherItem)
        return item + 1;
    if (item == OtherItem)
        return SpinEditPortName->value();
    return 0;
}

void TFormPortName::SelectNumber(int n) {
    if (n >= 1 && n <= 4) {
        rgrPortName->SetItemIndex(n - 1);
    } else if (n >= 5 && n <= 255) {
        rgrPortName->SetItemIndex(OtherItem);
        SpinEditPortName->setValue(n);
    }
    rgrPortNameClick();
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
        rgrPortName->Arrange();
    }
    const int x = other->x() + other->sizeHint().width() + 4;
    SpinEditPortName->setGeometry(x, other->y() - 2, 56, 24);
    other->resize(x - other->x() - 2, other->height());

    // The devices under the numbers, the buttons at the foot.
    const int w = width() - 16;
    // A long caption wraps rather than being cut.
    lblDevices->setWordWrap(true);
    lblDevices->setGeometry(8, 110, w, lblDevices->heightForWidth(w));
    const int listTop = 110 + lblDevices->height() + 2;
    if (listTop + 110 + 42 > height())
        setFixedSize(width(), listTop + 110 + 42);
    lbDevices->setGeometry(8, listTop, w, 110);
    const int buttonsTop = height() - 34;
    const int refreshWidth = std::max(90, btnRefresh->sizeHint().width());
    btnRefresh->setGeometry(8, buttonsTop, refreshWidth, 26);
    const int cancelWidth = std::max(80, btnCancel->sizeHint().width());
    btnCancel->setGeometry(width() - 8 - cancelWidth, buttonsTop, cancelWidth, 26);
    ButtonOK->move(btnCancel->x() - 8 - ButtonOK->width(), buttonsTop);
}

void TFormPortName::rgrPortNameClick() {
    SpinEditPortName->setEnabled(rgrPortName->ItemIndex() == OtherItem);
}

void TFormPortName::ButtonOKClick() {
    SpinEditPortName->interpretText();
    const int row = lbDevices->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < devices_.size() && ChosenNumber() >= 1 &&
        ChosenNumber() <= 255 &&
        !controller_.PortConnection().PointPortAt(ChosenNumber(),
                                                  devices_[static_cast<std::size_t>(row)].Path))
        return; // the reason was shown; the operator may choose again
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
    controller_.PortConnection().btnOpenPortClick();
    accept();
}

} // namespace zav
