#pragma once
// "Send from this line" and "Send this line only": the send list's context menu and
// their shortcuts (Shift+F5, Ctrl+F5). They act on the grid's current row, only while
// Send itself may be pressed, and ask first where a recording would be cut.

#include <QAction>
#include <QObject>
#include <QPushButton>
#include <functional>
#include <string>

#include "common/command_grid.h"
#include "controller/controller.h"
#include "controller/line_send.h"

namespace zav {

class TGridLineSend : public QObject {
    Q_OBJECT
public:
    // confirm asks a yes-or-no question and returns true for yes.
    TGridLineSend(TController& controller, TCommandGrid& grid, QPushButton& send,
                  std::function<bool(const std::string&)> confirm);

    QAction* actSendFromLine;
    QAction* actSendLineOnly;

    void ApplyTexts(const TLang& lang);
    // Sends for the current row as kind says, once the operator has agreed where asked.
    void SendCurrentLine(TLineSendKind kind);

private:
    TController& controller_;
    TCommandGrid& grid_;
    QPushButton& send_;
    std::function<bool(const std::string&)> confirm_;
};

} // namespace zav
