#include "main-window/form_port_name.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"

namespace zav {

namespace {
constexpr int OtherItem = 4;

// The port numbers in two columns, with the number box beside the "Other" item.
class TPortNumberGroup : public TRadioGroup {
public:
    explicit TPortNumberGroup(QWidget* parent)
        : TRadioGroup("rgrPortName", QString(),
                      {"Com 1", "Com 2", "Com 3", "Com 4", "Other (5 - 255):"}, 2, parent),
          spin_(new QSpinBox(this)) {
        spin_->setObjectName("SpinEditPortName");
        spin_->setRange(5, 255);
        spin_->setValue(5);
        SetCompanion(OtherItem, spin_);
    }

    QSpinBox* Spin() const { return spin_; }

private:
    QSpinBox* spin_ = nullptr;
};
} // namespace

TFormPortName::TFormPortName(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormPortName");
    // Shown modally by its owner, which frees it; OK may show a message box meanwhile.
    auto* guard = new TDialogGuard(*this, false);
    setWindowTitle("Chose port number");
    auto* numbers = new TPortNumberGroup(this);
    rgrPortName = numbers;
    SpinEditPortName = numbers->Spin();
    ButtonOK = new QPushButton(QString::fromStdString(controller_.Lang().Message(msgOk)), this);
    ButtonOK->setObjectName("ButtonOK");
    QFont bold = ButtonOK->font();
    bold.setBold(true);
    ButtonOK->setFont(bold);
    ButtonOK->setDefault(true);
    btnCancel =
        new QPushButton(QString::fromStdString(controller_.Lang().Message(msgCancel)), this);
    btnCancel->setObjectName("btnCancel");

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

    // The numbers on top, the devices under them taking what room the window has, the
    // buttons at the foot.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgrPortName);
    layout->addWidget(lblDevices);
    layout->addWidget(lbDevices, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRefresh);
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

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
    // The number box follows the new caption even when the group keeps its size.
    rgrPortName->Arrange();
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
            controller_.ShowMessage(controller_.Lang().Message(msgBadPortNumber));
    }
    controller_.PortConnection().btnOpenPortClick();
    accept();
}

} // namespace zav
