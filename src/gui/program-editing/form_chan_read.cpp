#include "program-editing/form_chan_read.h"

#include <QHeaderView>

#include "common/dialog_guard.h"
#include "common/dialog_texts.h"

namespace zav {

namespace {
constexpr int FormWidth = 451;
constexpr int HeightWithCodes = 264;
constexpr int HeightWithoutCodes = 200;
} // namespace

TFormChanRead::TFormChanRead(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormChanRead");
    auto* guard = new TDialogGuard(*this, true);
    setModal(false);
    setWindowTitle("Read executing program");

    btnRead = new QPushButton("Read from contoller", this);
    btnRead->setObjectName("btnRead");
    btnRead->setGeometry(8, 8, 145, 73);
    chbAddToEnd = new QCheckBox("Add to the end", this);
    chbAddToEnd->setObjectName("chbAddToEnd");
    chbAddToEnd->setGeometry(164, 8, 279, 22);
    chbCodes = new QCheckBox("Show command codes", this);
    chbCodes->setObjectName("chbCodes");
    chbCodes->setChecked(true);
    chbCodes->setGeometry(164, 32, 279, 22);
    btnAddToList = new QPushButton("Add to the command list", this);
    btnAddToList->setObjectName("btnAddToList");
    btnAddToList->setGeometry(164, 56, 279, 25);

    StringGridRead =
        new TCommandGrid(controller_.ChanRead().StringGridRead, "StringGridRead", this);
    StringGridRead->setGeometry(8, 86, 435, 104);
    MemoChan = new QPlainTextEdit(this);
    MemoChan->setObjectName("MemoChan");
    MemoChan->setReadOnly(true);
    MemoChan->setGeometry(8, 194, 435, 65);

    TChanRead& read = controller_.ChanRead();
    guard->Connect(btnRead, [&read] { read.btnReadClick(); });
    connect(chbCodes, &QCheckBox::toggled, this, [this] { chbCodesClick(); });
    guard->Connect(btnAddToList, [&read] { read.btnAddToListClick(); });
    StringGridRead->GridModel()->OnRowMoved = [&read](int from, int to) {
        read.StringGridReadRowMoved(from, to);
    };

    ApplyLanguage();
    chbCodesClick();
    read.AttachView(this);
}

TFormChanRead::~TFormChanRead() {
    // The result of a read still running has no window to go to.
    controller_.ChanRead().FormClose();
}

void TFormChanRead::ApplyLanguage() {
    TLang& lang = controller_.Lang();
    StringGridRead->GridModel()->SetHeaderTexts("№", "Command");
    // Named apart from their captions, which a damaged language file may leave blank.
    auto text = [&lang](int n) { return QString::fromStdString(lang.Message(n)); };
    btnRead->setAccessibleName(text(msgReadFromController));
    chbAddToEnd->setAccessibleName(text(msgAddToEnd));
    chbAddToEnd->setToolTip(text(msgAddToEndHint));
    chbCodes->setAccessibleName(text(msgShowCommandCodes));
    chbCodes->setToolTip(text(msgShowCodesHint));
    btnAddToList->setAccessibleName(text(msgAddToCommandList));
    btnAddToList->setToolTip(text(msgAddToListHint));
    StringGridRead->setAccessibleName(text(msgReadCommands));
    MemoChan->setAccessibleName(text(msgReceivedText));
    if (!LoadDialogTexts(lang, 17))
        return;
    setWindowTitle(DialogText(lang, 12));
    btnRead->setText(DialogText(lang, 13));
    chbAddToEnd->setText(DialogText(lang, 14));
    chbCodes->setText(DialogText(lang, 15));
    btnAddToList->setText(DialogText(lang, 16));
    StringGridRead->GridModel()->SetHeaderTexts("№", DialogText(lang, 17));
}

void TFormChanRead::chbCodesClick() {
    const bool codes = chbCodes->isChecked();
    MemoChan->setVisible(codes);
    setFixedSize(FormWidth, codes ? HeightWithCodes : HeightWithoutCodes);
}

void TFormChanRead::SetReadEnabled(bool enabled) {
    btnRead->setEnabled(enabled);
}

bool TFormChanRead::AddToEnd() const {
    return chbAddToEnd->isChecked();
}

void TFormChanRead::ShowMemoChan(const std::vector<std::string>& lines) {
    QStringList text;
    for (const auto& line : lines)
        text << QString::fromStdString(line);
    MemoChan->setPlainText(text.join('\n'));
}

} // namespace zav
