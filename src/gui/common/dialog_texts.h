#pragma once
// The dialogs' captions from section "addf" of the language catalogue.

#include <QString>

#include "localisation/lang.h"

namespace zav {

// Loads section "addf"; false when the dialog must keep its built-in captions because
// the section has no entry beyond limit. Damage is reported to the operation log.
bool LoadDialogTexts(TLang& lang, int limit);
// Entry n of the loaded section.
QString DialogText(const TLang& lang, int n);

} // namespace zav
