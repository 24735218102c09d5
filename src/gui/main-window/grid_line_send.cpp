#include "main-window/grid_line_send.h"

namespace zav {

TGridLineSend::TGridLineSend(TController& controller, TCommandGrid& grid, QPushButton& send,
                             std::function<bool(const std::string&)> confirm)
    : QObject(&grid), controller_(controller), grid_(grid), send_(send),
      confirm_(std::move(confirm)) {
    const auto make = [this](const char* name, QKeySequence key, TLineSendKind kind) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        // A held key sends once: one press, one send.
        action->setAutoRepeat(false);
        connect(action, &QAction::triggered, this, [this, kind] { SendCurrentLine(kind); });
        grid_.addAction(action);
        return action;
    };
    actSendFromLine =
        make("actSendFromLine", QKeySequence(Qt::SHIFT | Qt::Key_F5), TLineSendKind::FromLine);
    actSendLineOnly =
        make("actSendLineOnly", QKeySequence(Qt::CTRL | Qt::Key_F5), TLineSendKind::LineOnly);
    grid_.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TGridLineSend::ApplyTexts(const TLang& lang) {
    actSendFromLine->setText(QString::fromStdString(lang.Message(msgSendFromLine)));
    actSendLineOnly->setText(QString::fromStdString(lang.Message(msgSendLineOnly)));
}

void TGridLineSend::SendCurrentLine(TLineSendKind kind) {
    // As F5 does for Send: nothing while the list may not be sent (a wrong command in it)
    // or while another mode hides it.
    if (!send_.isVisible() || !send_.isEnabled() || !grid_.isVisible())
        return;
    const int row = grid_.CurrentGridRow();
    if (row < 1)
        return;
    const std::optional<TLineSendPlan> plan =
        PlanLineSend(controller_.MemoSend().Lines(), static_cast<std::size_t>(row - 1), kind,
                     controller_.Lang());
    if (!plan || (!plan->Question.empty() && !confirm_(plan->Question)))
        return;
    controller_.SendAction().Run(plan->Range);
}

} // namespace zav
