#include "common/lay_out_now.h"

#include <QLayout>

namespace zav {

namespace {
QList<QWidget*> Children(QWidget& widget) {
    return widget.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

void UpdateNeeds(QWidget& widget) {
    for (QWidget* child : Children(widget))
        if (!child->isWindow())
            UpdateNeeds(*child);
    if (QLayout* layout = widget.layout()) {
        // A child's change reaches a layout of a window not shown yet only by posted
        // events; its cached needs are dropped here.
        layout->invalidate();
        layout->activate();
    }
}

// The window's own layout placed its children when it was activated (with its menu
// bar, which only activation takes into account); the layouts inside follow.
void PlaceChildren(QWidget& widget) {
    for (QWidget* child : Children(widget)) {
        if (child->isWindow() || !child->isVisibleTo(&widget))
            continue;
        if (QLayout* layout = child->layout())
            layout->setGeometry(child->testAttribute(Qt::WA_LayoutOnEntireRect)
                                    ? child->rect()
                                    : child->contentsRect());
        PlaceChildren(*child);
    }
}
} // namespace

void LayOutNow(QWidget& window) {
    UpdateNeeds(window);
    PlaceChildren(window);
}

} // namespace zav
