#include "settings/dialog_support.h"

#include <QAbstractButton>
#include <QStyle>

namespace zav {

void NameControlsByCaption(QWidget* window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString caption = button->text().remove('&');
        if (!caption.isEmpty())
            button->setAccessibleName(caption);
    }
}

QPushButton* NewOkButton(const char* objectName, QWidget* parent) {
    auto* button =
        new QPushButton(parent->style()->standardIcon(QStyle::SP_DialogOkButton), "OK", parent);
    button->setObjectName(objectName);
    button->setDefault(true);
    return button;
}

} // namespace zav
