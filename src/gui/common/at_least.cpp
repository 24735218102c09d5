#include "common/at_least.h"

#include <QStyle>
#include <QStyleOptionButton>

namespace zav {

int GroupTitleWidth(const QGroupBox& group) {
    if (group.title().isEmpty())
        return 0;
    return group.fontMetrics().horizontalAdvance(group.title()) + 16;
}

int ButtonCaptionWidth(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    // Asked for a size above the floor, the style tells its padding alone.
    constexpr int Wide = 200;
    const int padding =
        button.style()
            ->sizeFromContents(QStyle::CT_PushButton, &option, QSize(Wide, text.height()), &button)
            .width() -
        Wide;
    return text.width() + padding;
}

} // namespace zav
