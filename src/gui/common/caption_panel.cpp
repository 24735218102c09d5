#include "common/caption_panel.h"

namespace zav {

TCaptionPanel::TCaptionPanel(const QString& objectName, const QString& caption, QWidget* parent)
    : QFrame(parent), label_(new QLabel(caption, this)), row_(new QHBoxLayout(this)) {
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    label_->setObjectName(objectName + "Caption");
    label_->setTextFormat(Qt::PlainText);
    row_->setContentsMargins(2, 0, 1, 0);
    row_->setSpacing(2);
    row_->addWidget(label_, 1);
}

void TCaptionPanel::SetCaptionWidth(int width) {
    label_->setMinimumWidth(width);
}

void TCaptionPanel::SetCaptionCut() {
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TCaptionPanel::AddControl(QWidget* control, int stretch) {
    row_->addWidget(control, stretch);
}

} // namespace zav
