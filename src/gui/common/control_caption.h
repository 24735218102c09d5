#pragma once
// A caption of a window's control found by its object name, as the language files
// address it: the control's own caption (item -1), an item of a radio group, or a
// column of a grid's header row.

#include <QString>
#include <QWidget>

namespace zav {

// False when the window has no such control.
bool SetControlCaption(QWidget& window, const QString& name, int item, const QString& text);
QString ControlCaption(const QWidget& window, const QString& name, int item);

} // namespace zav
