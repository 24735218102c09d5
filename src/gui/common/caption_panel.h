#pragma once
// A sunken panel with a one-line caption, for the panels whose caption the program
// rewrites (the coordinate panel, the port description line).

#include <QFrame>
#include <QLabel>

namespace zav {

class TCaptionPanel : public QFrame {
    Q_OBJECT
public:
    TCaptionPanel(const QString& objectName, const QString& caption, QWidget* parent);
    QString Caption() const { return label_->text(); }
    void SetCaption(const QString& caption) { label_->setText(caption); }
    // The caption takes the panel's width up to captionWidth (the whole panel if 0).
    void SetCaptionWidth(int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* label_;
    int captionWidth_ = 0;
};

} // namespace zav
