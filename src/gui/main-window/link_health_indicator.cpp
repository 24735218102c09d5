#include "main-window/link_health_indicator.h"

#include <QMetaObject>

namespace zav {

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Number(std::size_t n) {
    return QString::number(static_cast<qulonglong>(n));
}

const char* Background(TLinkColour colour) {
    switch (colour) {
    case TLinkColour::Red:
        return "#ff5050";
    case TLinkColour::Amber:
        return "#ffbf00";
    case TLinkColour::Green:
        break;
    }
    return "#a8e0a8";
}
} // namespace

TLinkHealthIndicator::TLinkHealthIndicator(TLinkHealth& health, const TLang& lang, QWidget* parent)
    : QLabel(parent), health_(health), lang_(lang) {
    setObjectName("LinkHealth");
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // Called on the receive thread: only a post, which goes with the indicator.
    health_.SetChanged([this] {
        QMetaObject::invokeMethod(
            this, [this] { ApplyTexts(); }, Qt::QueuedConnection);
    });
    ApplyTexts();
}

void TLinkHealthIndicator::ApplyTexts() {
    const TLinkCounts c = health_.Counts();
    const QString ms = Text(lang_.Message(msgLinkMs));
    const QString times = c.HasTimes ? QString::number(c.Median.count()) + "/" +
                                           QString::number(c.Slowest.count()) + ms
                                     : QStringLiteral("-");
    const QString sep = QStringLiteral(" | ");
    setText(Text(lang_.Message(msgLinkShort)) + Number(c.InTime) + sep + Number(c.EchoMismatches) +
            sep + Number(c.TransferErrors) + sep + Number(c.TimeOuts) + sep + Number(c.PortLosses) +
            sep + times);
    QStringList tip{
        Text(lang_.Message(msgLinkTipTitle)),
        Text(lang_.Message(msgLinkTipInTime)) + Number(c.InTime),
        Text(lang_.Message(msgLinkTipEchoMismatch)) + Number(c.EchoMismatches),
        Text(lang_.Message(msgLinkTipEchoMissing)) + Number(c.EchoesMissing),
        Text(lang_.Message(msgLinkTipTransfer)) + Number(c.TransferErrors),
        Text(lang_.Message(msgLinkTipTimeouts)) + Number(c.TimeOuts),
        Text(lang_.Message(msgLinkTipPortLosses)) + Number(c.PortLosses),
        c.HasTimes
            ? Text(lang_.Message(msgLinkTipTimes)) + QString::number(c.Median.count()) + ms +
                  Text(lang_.Message(msgLinkTipSlowest)) + QString::number(c.Slowest.count()) + ms
            : Text(lang_.Message(msgLinkTipNoTimes)),
        Text(lang_.Message(msgLinkTipColours)),
    };
    setToolTip(tip.join('\n'));
    setAccessibleName(Text(lang_.Message(msgLinkHealthName)));
    setAccessibleDescription(text() + "\n" + toolTip());
    setStyleSheet(QString("QLabel { background: %1; color: black; padding: 0 4px; }"
                          "QLabel:focus { border: 1px dotted black; }")
                      .arg(Background(c.Colour)));
}

} // namespace zav
