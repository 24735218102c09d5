#pragma once
// One action per press. A press of a control that follows its last accepted press
// within the system's double-click interval is taken as the same intent (a double
// click, a key that repeats) and ignored, and the operator is told; a command that
// moves a motor then leaves once.

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <functional>

namespace zav {

class TPressGuard : public QObject {
    Q_OBJECT
public:
    // ignored is called with the caption of a control whose press was ignored.
    explicit TPressGuard(std::function<void(const QString&)> ignored, QObject* parent = nullptr);

    // Connects button's clicks to action through the guard. applies, when given, says
    // whether this press is guarded at all (a control that sends only in some modes).
    void Connect(QAbstractButton* button, std::function<void()> action,
                 std::function<bool()> applies = {});
    // Whether a press of button now is to be acted on; an ignored one is reported.
    bool Accept(QAbstractButton* button);

private:
    std::function<void(const QString&)> ignored_;
    QHash<QAbstractButton*, QElapsedTimer> accepted_; // each control's last accepted press
};

} // namespace zav
