#include "common/press_guard.h"

#include <QApplication>
#include <QRegularExpression>

namespace zav {

namespace {
// What the operator knows the control by: its caption, else (an icon button) its name
// for screen readers or its hint.
QString CaptionOf(const QAbstractButton& button) {
    QString caption = button.text();
    caption.remove(QRegularExpression("&(?!&)"));
    if (caption.isEmpty())
        caption = button.accessibleName();
    if (caption.isEmpty())
        caption = button.toolTip();
    return caption.isEmpty() ? button.objectName() : caption;
}
} // namespace

TPressGuard::TPressGuard(std::function<void(const QString&)> ignored, QObject* parent)
    : QObject(parent), ignored_(std::move(ignored)) {}

void TPressGuard::Connect(QAbstractButton* button, std::function<void()> action,
                          std::function<bool()> applies) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button, action = std::move(action), applies = std::move(applies)] {
                if ((!applies || applies()) && !Accept(button))
                    return;
                action();
            });
    connect(button, &QObject::destroyed, this, [this, button] { accepted_.remove(button); });
}

bool TPressGuard::Accept(QAbstractButton* button) {
    QElapsedTimer& last = accepted_[button];
    if (last.isValid() && last.elapsed() < QApplication::doubleClickInterval()) {
        if (ignored_)
            ignored_(CaptionOf(*button));
        return false;
    }
    last.start();
    return true;
}

} // namespace zav
