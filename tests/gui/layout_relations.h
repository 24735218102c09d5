#pragma once
// Relations a window laid out by its layouts must keep, whatever the language, the font
// or the screen: every shown control lies inside its parent, no two shown sibling
// controls overlap, no caption is cut, and the window's least size still fits it all.

#include <QStringList>
#include <QWidget>

namespace zav::test {

// Runs the layout requests that are still queued, so that sizes are read as shown.
void SettleLayouts();

// What breaks the relations at the window's present size, one line per fault naming the
// controls; empty when none does. Controls are the named widgets outside scroll areas.
QStringList LayoutFaults(const QWidget& window);

// The same at the present size and again at the window's least size (the window is
// given its least size meanwhile and its size back afterwards). The window must be shown.
QStringList LayoutFaultsAtBothSizes(QWidget& window);

} // namespace zav::test
