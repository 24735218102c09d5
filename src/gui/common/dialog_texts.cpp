#include "common/dialog_texts.h"

namespace zav {

bool LoadDialogTexts(TLang& lang, int limit) {
    if (!lang.LoadFormTexts("addf"))
        lang.ReportDamagedFile();
    if (lang.FormTexts.size() <= static_cast<std::size_t>(limit)) {
        lang.ReportDamagedFile();
        return false;
    }
    return true;
}

QString DialogText(const TLang& lang, int n) {
    if (n < 0 || static_cast<std::size_t>(n) >= lang.FormTexts.size())
        return QString();
    return QString::fromStdString(lang.FormTexts[static_cast<std::size_t>(n)]);
}

} // namespace zav
