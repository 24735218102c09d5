#include "common/caption_panel.h"

namespace zav {

TCaptionPanel::TCaptionPanel(const QString& objectName, const QString& caption, QWidget* parent)
    : QFrame(parent), label_(new QLabel(caption, this)) {
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    label_->setObjectName(objectName + "Caption");
    label_->setTextFormat(Qt::PlainText);
}

void TCaptionPanel::SetCaptionWidth(int width) {
    captionWidth_ = width;
    label_->setGeometry(3, 0, (captionWidth_ > 0 ? captionWidth_ : this->width()) - 3, height());
}

void TCaptionPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    SetCaptionWidth(captionWidth_);
}

} // namespace zav
