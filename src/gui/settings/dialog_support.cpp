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

QPushButton* NewOkButton(const char* objectName, const TLang& lang, QWidget* parent) {
    auto* button = new QPushButton(parent->style()->standardIcon(QStyle::SP_DialogOkButton),
                                   QString::fromStdString(lang.Message(msgOk)), parent);
    button->setObjectName(objectName);
    button->setDefault(true);
    return button;
}

QPushButton* NewCancelButton(const TLang& lang, QDialog* dialog) {
    auto* button = new QPushButton(dialog->style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   QString::fromStdString(lang.Message(msgCancel)), dialog);
    button->setObjectName("btnCancel");
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

QHBoxLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace zav
