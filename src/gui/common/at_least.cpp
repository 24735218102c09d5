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

int EditTextWidth(const QLineEdit& edit) {
    const QFontMetrics fm = edit.fontMetrics();
    const int padding = edit.QLineEdit::sizeHint().width() - 17 * fm.horizontalAdvance(u'x');
    // One more for the cursor after the last character.
    return fm.horizontalAdvance(edit.text()) + padding + 1;
}

QLineEdit* ValueField(const QString& text, int builtWidth, QWidget* parent) {
    auto* field = new TAtLeast<QLineEdit>(QSize(builtWidth, 0), text, parent);
    field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return field;
}

} // namespace zav
