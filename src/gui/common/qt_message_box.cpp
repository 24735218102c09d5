#include "common/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace zav {

void TQtMessageBox::ShowMessage(const std::string& text) {
    // Over whichever window is active, so that a box raised from a dialog stays on top.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = parent_;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace zav
