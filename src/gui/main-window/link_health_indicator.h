#pragma once
// The link health at the right of the bottom line: replies in time | echo mismatches |
// transfer errors | time-outs | connections lost | median/slowest reply time, green, amber or red.
// Its tool-tip, which is also its accessible description, says what each number means. It takes the
// keyboard focus, so that a screen reader can reach it.

#include <QLabel>

#include "controller/link_health.h"
#include "localisation/lang.h"

namespace zav {

class TLinkHealthIndicator : public QLabel {
    Q_OBJECT
public:
    // health and lang outlive the indicator's use: it is shown only while they exist.
    TLinkHealthIndicator(TLinkHealth& health, const TLang& lang, QWidget* parent);

    // The counts as they are now, in the operator's language.
    void ApplyTexts();
    // The full explanation shown as tool-tip and accessible description.
    QString Explanation() const { return toolTip(); }

private:
    TLinkHealth& health_;
    const TLang& lang_;
};

} // namespace zav
