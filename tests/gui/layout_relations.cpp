#include "layout_relations.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace zav::test {

namespace {
QString Name(const QWidget& w) {
    return QString("%1 \"%2\"").arg(w.objectName(), w.property("text").toString());
}

// A control of the window's own: named, shown, and not the inside of a scroll area
// (whose contents move under its viewport by design).
bool IsControl(const QWidget& w, const QWidget& window) {
    if (&w == &window || w.isWindow() || !w.isVisibleTo(&window) || w.objectName().isEmpty() ||
        w.objectName().startsWith("qt_"))
        return false;
    for (const QWidget* p = w.parentWidget(); p && p != &window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return false;
    return true;
}

// The room a caption needs, or an empty size for a control without one.
QSize CaptionNeed(const QWidget& w) {
    const QFontMetrics fm = w.fontMetrics();
    if (auto* b = qobject_cast<const QPushButton*>(&w); b && !b->text().isEmpty()) {
        const int frame = 2 * w.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return {fm.horizontalAdvance(b->text().remove('&')) + frame, fm.height()};
    }
    if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w))
        return static_cast<const QAbstractButton&>(w).text().isEmpty() ? QSize()
                                                                       : w.minimumSizeHint();
    // A label whose width ignores its text (a status line) is cut by design.
    if (auto* l = qobject_cast<const QLabel*>(&w);
        l && !l->text().isEmpty() && !l->wordWrap() &&
        l->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored)
        return {l->minimumSizeHint().width(), fm.height()};
    if (auto* g = qobject_cast<const QGroupBox*>(&w); g && !g->title().isEmpty())
        return {fm.horizontalAdvance(QString(g->title()).remove('&')), fm.height()};
    return {};
}
} // namespace

void SettleLayouts() {
    // Each round lets one more level of nested layouts learn its children's needs.
    for (int i = 0; i < 8; ++i)
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

QStringList LayoutFaults(const QWidget& window) {
    SettleLayouts();
    QStringList faults;
    QList<const QWidget*> controls;
    for (const QWidget* w : window.findChildren<QWidget*>())
        if (IsControl(*w, window))
            controls << w;
    for (const QWidget* w : controls) {
        const QWidget* parent = w->parentWidget();
        if (!parent->rect().contains(w->geometry()))
            faults << QString("%1 at %2,%3 %4x%5 outside its parent %6 (%7x%8)")
                          .arg(Name(*w))
                          .arg(w->x())
                          .arg(w->y())
                          .arg(w->width())
                          .arg(w->height())
                          .arg(parent->objectName())
                          .arg(parent->width())
                          .arg(parent->height());
        const QSize need = CaptionNeed(*w);
        if (need.isValid() && (w->width() < need.width() || w->height() < need.height()))
            faults << QString("%1 is %2x%3, its caption needs %4x%5")
                          .arg(Name(*w))
                          .arg(w->width())
                          .arg(w->height())
                          .arg(need.width())
                          .arg(need.height());
    }
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (controls[i]->parentWidget() == controls[j]->parentWidget() &&
                controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << QString("%1 overlaps %2").arg(Name(*controls[i]), Name(*controls[j]));
    return faults;
}

QStringList LayoutFaultsAtBothSizes(QWidget& window) {
    QStringList faults = LayoutFaults(window);
    const QSize size = window.size();
    const QSize least = window.minimumSize().expandedTo(window.minimumSizeHint());
    window.resize(least);
    for (const QString& fault : LayoutFaults(window))
        faults << "at the least size: " + fault;
    window.resize(size);
    SettleLayouts();
    return faults;
}

} // namespace zav::test
