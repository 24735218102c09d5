#include "program-editing/form_chan_read.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <algorithm>

#include "common/at_least.h"
#include "common/dialog_guard.h"
#include "common/dialog_texts.h"

namespace zav {

namespace {
// The built sizes: the window 451 wide, 264 high with the command codes and 200 without;
// the read button 145 by 73; the codes 65 high. They are where the window starts and the
// least it gives its parts: a longer caption or a larger font makes them larger.
constexpr int FormWidth = 451;
constexpr int HeightWithCodes = 264;
constexpr int HeightWithoutCodes = 200;
constexpr QSize ReadButtonSize(145, 73);
constexpr int CodesHeight = 65;
} // namespace

TFormChanRead::TFormChanRead(TController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("FormChanRead");
    auto* guard = new TDialogGuard(*this, true);
    setModal(false);
    setWindowTitle("Read executing program");

    btnRead = new TAtLeast<QPushButton>(ReadButtonSize, "Read from contoller", this);
    btnRead->setObjectName("btnRead");
    chbAddToEnd = new QCheckBox("Add to the end", this);
    chbAddToEnd->setObjectName("chbAddToEnd");
    chbCodes = new QCheckBox("Show command codes", this);
    chbCodes->setObjectName("chbCodes");
    chbCodes->setChecked(true);
    btnAddToList = new QPushButton("Add to the command list", this);
    btnAddToList->setObjectName("btnAddToList");
    lblReadCoordinate = new QLabel("Coordinate", this);
    lblReadCoordinate->setObjectName("lblReadCoordinate");
    cbReadCoordinate = new QComboBox(this);
    cbReadCoordinate->setObjectName("cbReadCoordinate");
    cbReadCoordinate->addItems({"1", "2", "3"});
    lblReadCoordinate->setBuddy(cbReadCoordinate);
    chbKeepRecording =
        new QCheckBox("Keep LD n and ED around the list when it is taken over", this);
    chbKeepRecording->setObjectName("chbKeepRecording");

    StringGridRead =
        new TCommandGrid(controller_.ChanRead().StringGridRead, "StringGridRead", this);
    MemoChan = new QPlainTextEdit(this);
    MemoChan->setObjectName("MemoChan");
    MemoChan->setReadOnly(true);
    // The codes keep their height; the read list takes what the window has beyond it.
    MemoChan->setFixedHeight(CodesHeight);

    // The read button, and the coordinate it reads under it, beside the three switches
    // and the add button; under them the read list, which takes the room the window has,
    // and the codes.
    auto* coordinate = new QHBoxLayout;
    coordinate->addWidget(lblReadCoordinate);
    coordinate->addWidget(cbReadCoordinate, 1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->addWidget(btnRead, 0, 0, 3, 1);
    grid->addLayout(coordinate, 3, 0);
    grid->addWidget(chbAddToEnd, 0, 1);
    grid->addWidget(chbCodes, 1, 1);
    grid->addWidget(chbKeepRecording, 2, 1);
    grid->addWidget(btnAddToList, 3, 1);
    grid->addWidget(StringGridRead, 4, 0, 1, 2);
    grid->addWidget(MemoChan, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    resize(FormWidth, HeightWithCodes);

    TChanRead& read = controller_.ChanRead();
    guard->Connect(btnRead, [&read] { read.btnReadClick(); });
    connect(chbCodes, &QCheckBox::toggled, this, [this] { chbCodesClick(); });
    cbReadCoordinate->setCurrentIndex(read.ReadCoordinate() - 1);
    connect(cbReadCoordinate, &QComboBox::currentIndexChanged, this,
            [&read](int index) { read.SetReadCoordinate(index + 1); });
    read.SetKeepRecording(false); // off in each new window, so a take-over stays as it was
    connect(chbKeepRecording, &QCheckBox::toggled, this,
            [&read](bool keep) { read.SetKeepRecording(keep); });
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
    // A program read back is the body of one recording, without its LD and ED.
    StringGridRead->GridModel()->EnableCheck(controller_.Lang(), TCheckScope::RecordingBody);
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
    lblReadCoordinate->setText(text(msgReadCoordinate));
    cbReadCoordinate->setAccessibleName(text(msgReadCoordinateName));
    cbReadCoordinate->setToolTip(text(msgReadCoordinateHint));
    chbKeepRecording->setText(text(msgKeepRecording));
    chbKeepRecording->setAccessibleName(text(msgKeepRecording));
    chbKeepRecording->setToolTip(text(msgKeepRecordingHint));
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
    // The built height for each case, or more where the contents need it.
    layout()->activate();
    resize(width(),
           std::max(codes ? HeightWithCodes : HeightWithoutCodes, minimumSizeHint().height()));
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
