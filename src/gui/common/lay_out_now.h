#pragma once
// Layouts do their work from posted events, and a window not yet shown gets none until
// it is shown. The main window's size rules read its panels' sizes at once: this brings
// every layout of a window up to date now.

#include <QWidget>

namespace zav {

// The needs of the innermost layouts first, then the places from the window inwards.
void LayOutNow(QWidget& window);

} // namespace zav
