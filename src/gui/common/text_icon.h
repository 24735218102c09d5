#pragma once
// Small icons drawn from a few letters, for the icon-only command buttons.

#include <QColor>
#include <QIcon>
#include <QString>

namespace zav {

QIcon TextIcon(const QString& text, QColor color = QColor(0, 0, 128));

} // namespace zav
