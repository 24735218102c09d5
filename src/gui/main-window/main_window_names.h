#pragma once
// The accessible names and hints of the main window's controls that show no caption of
// their own, in the language in use: they follow a change of language as the captions
// do.

#include <QWidget>

#include "localisation/lang.h"

namespace zav {

void NameMainWindowControls(QWidget& window, const TLang& lang);

} // namespace zav
