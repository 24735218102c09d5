#include "main-window/form_resume.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/dialog_guard.h"

namespace zav {

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
// Wide enough for the offer's sentences without a long thin column.
constexpr int OfferWidth = 480;
} // namespace

TFormResume::TFormResume(TController& controller, TJournal journal,
                         std::function<bool(const std::string&)> confirm, QWidget* parent)
    : QDialog(parent), controller_(controller), journal_(std::move(journal)),
      confirm_(std::move(confirm)) {
    setObjectName("FormResume");
    auto* guard = new TDialogGuard(*this, true);
    setModal(false);
    const TLang& lang = controller_.Lang();
    setWindowTitle(Q(lang.Message(msgResumeTitle)));

    lblOffer = new QLabel(this);
    lblOffer->setObjectName("lblOffer");
    lblOffer->setWordWrap(true);
    lblOffer->setTextFormat(Qt::PlainText);
    lblOffer->setMinimumWidth(OfferWidth);
    chbResend = new QCheckBox(this);
    chbResend->setObjectName("chbResend");
    btnResume = new QPushButton(Q(lang.Message(msgResumeButton)), this);
    btnResume->setObjectName("btnResume");
    btnStartAgain = new QPushButton(Q(lang.Message(msgStartAgainButton)), this);
    btnStartAgain->setObjectName("btnStartAgain");
    btnDismiss = new QPushButton(Q(lang.Message(msgDismissButton)), this);
    btnDismiss->setObjectName("btnDismiss");
    // Nothing goes out on a stray Enter: the default is to dismiss.
    btnDismiss->setDefault(true);
    for (QPushButton* button : {btnResume, btnStartAgain, btnDismiss})
        button->setAccessibleName(button->text());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnResume);
    buttons->addWidget(btnStartAgain);
    buttons->addWidget(btnDismiss);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblOffer, 1);
    column->addWidget(chbResend);
    column->addLayout(buttons);

    connect(chbResend, &QCheckBox::toggled, this, [this] { ShowOffer(); });
    guard->Connect(btnResume, [this] { Answer(TResume::TAnswer::Resume); });
    guard->Connect(btnStartAgain, [this] { Answer(TResume::TAnswer::StartAgain); });
    guard->Connect(btnDismiss, [this] { Answer(TResume::TAnswer::Dismiss); });
    ShowOffer();
}

void TFormResume::ShowOffer() {
    const TResume::TOffer offer = controller_.Resume().Describe(journal_, chbResend->isChecked());
    lblOffer->setText(Q(offer.Text));
    lblOffer->setAccessibleName(Q(controller_.Lang().Message(msgResumeTitle)));
    chbResend->setVisible(!offer.ResendCaption.empty());
    chbResend->setText(Q(offer.ResendCaption));
    chbResend->setAccessibleName(Q(offer.ResendCaption));
    btnResume->setEnabled(offer.Point.Kind != TResumePoint::TKind::NothingLeft);
}

void TFormResume::Answer(TResume::TAnswer answer) {
    TResume& resume = controller_.Resume();
    // The operator's own list goes only with the operator's yes; a no leaves both the
    // list and the offer as they are.
    if (answer != TResume::TAnswer::Dismiss && resume.WouldReplaceList(journal_) &&
        !confirm_(controller_.Lang().Message(msgResumeReplaceList)))
        return;
    resume.Answer(journal_, answer, chbResend->isChecked());
    close();
}

} // namespace zav
