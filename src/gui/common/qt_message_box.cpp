#include "common/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>

namespace zav {

void TranslateButtons(QMessageBox& box, const TLang& lang) {
    const std::pair<QMessageBox::StandardButton, int> texts[] = {{QMessageBox::Ok, msgOk},
                                                                 {QMessageBox::Cancel, msgCancel},
                                                                 {QMessageBox::Yes, msgYes},
                                                                 {QMessageBox::No, msgNo}};
    for (auto [which, message] : texts)
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromStdString(lang.Message(message)));
}

void TQtMessageBox::ShowMessage(const std::string& text) {
    if (holding_)
        held_.push_back(text);
    else
        Show(text);
}

void TQtMessageBox::Release() {
    // Still holding while the boxes are open: one raised meanwhile waits its turn.
    while (!held_.empty()) {
        const std::string text = held_.front();
        held_.pop_front();
        Show(text);
    }
    holding_ = false;
}

void TQtMessageBox::Show(const std::string& text) {
    // Over whichever window is active, so that a box raised from a dialog stays on top.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = parent_;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    if (lang_)
        TranslateButtons(box, *lang_);
    box.exec();
}

} // namespace zav
