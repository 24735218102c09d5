#include "main-window/send_progress_bar.h"

#include <QEvent>

#include "common/command_grid.h"
#include "controller/controller.h"

namespace zav {

namespace {
// Often enough to follow a line at a time at 9600 baud without redrawing for each.
constexpr int UpdateMs = 250;
constexpr int BarWidth = 420;
} // namespace

TSendProgressBar::TSendProgressBar(TController& controller, QWidget& window,
                                   TCaptionPanel& statusLine, QPushButton& send, QPushButton& stop,
                                   std::function<TCommandGrid*()> grid)
    : QObject(&window), controller_(controller), statusLine_(statusLine), send_(send), stop_(stop),
      grid_(std::move(grid)), bar_(new QProgressBar(&statusLine)),
      esc_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    bar_->setObjectName("pbSend");
    bar_->setTextVisible(true);
    // The bar fills the line's height rather than making the line taller while it shows.
    bar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    bar_->hide();
    statusLine_.AddControl(bar_, 1);
    statusLine_.installEventFilter(this);

    stop_.setEnabled(false);
    connect(&stop_, &QPushButton::clicked, this,
            [this] { controller_.SendProgress().StopSending(); });
    // Esc only while a send runs, so that it does not take the key from the windows and
    // editors that close or cancel on it otherwise.
    esc_->setEnabled(false);
    connect(esc_, &QShortcut::activated, &stop_, &QPushButton::click);
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), &window);
    connect(f5, &QShortcut::activated, this, [this] {
        if (send_.isVisible() && send_.isEnabled())
            send_.click();
    });

    timer_.setInterval(UpdateMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Update(); });
    ApplyTexts();
}

void TSendProgressBar::ApplyTexts() {
    const TLang& lang = controller_.Lang();
    bar_->setAccessibleName(QString::fromStdString(lang.Message(msgSendProgressName)));
    stop_.setText(QString::fromStdString(lang.Message(msgStopSending)));
    stop_.setToolTip(QString::fromStdString(lang.Message(msgStopSendingHint)));
    send_.setToolTip(QString::fromStdString(lang.Message(msgSendHint)));
    if (bar_->isVisible())
        Update();
}

void TSendProgressBar::SendStarted() {
    stop_.setEnabled(true);
    esc_->setEnabled(true);
    // The first update comes after one interval: a command sent alone, which is answered
    // at once, does not make the bar flicker.
    timer_.start();
    if (OnSending)
        OnSending(true);
}

void TSendProgressBar::SendEnded() {
    timer_.stop();
    stop_.setEnabled(false);
    esc_->setEnabled(false);
    bar_->hide();
    Place();
    Mark(-1);
    if (OnSending)
        OnSending(false);
}

void TSendProgressBar::Update() {
    TSendProgress& progress = controller_.SendProgress();
    const TSendProgressState state = progress.State();
    if (!state.Running)
        return; // its end is on its way
    bar_->setRange(0, 100);
    bar_->setValue(state.Percent());
    bar_->setFormat(QString::fromStdString(progress.Text(state)));
    if (!bar_->isVisible()) {
        bar_->show();
        Place();
    }
    Mark(static_cast<int>(state.Line) - 1);
}

void TSendProgressBar::Mark(int row) {
    TCommandGrid* grid = grid_();
    if (!grid)
        return;
    grid->GridModel()->SetMarkedRow(row);
    if (row >= 0 && grid->isVisible())
        grid->scrollTo(grid->model()->index(row, 0));
}

void TSendProgressBar::Place() {
    // In a narrow window the send takes the whole line: its text matters more then than
    // the port's, which the operator has seen. In a wide one the port's description
    // keeps the rest of the line, cut rather than hidden.
    const bool wide = statusLine_.width() >= 2 * BarWidth + 4;
    bar_->setMaximumWidth(wide ? BarWidth : QWIDGETSIZE_MAX);
    // Narrowed to nothing rather than hidden, the caption still holds the line's height.
    statusLine_.CaptionLabel()->setMaximumWidth(wide || !bar_->isVisible() ? QWIDGETSIZE_MAX : 0);
}

bool TSendProgressBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &statusLine_ && event->type() == QEvent::Resize)
        Place();
    return QObject::eventFilter(watched, event);
}

} // namespace zav
