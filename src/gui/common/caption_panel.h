#pragma once
// A sunken panel with a one-line caption, for the panels whose caption the program
// rewrites (the coordinate panel, the port description line). Controls added to it
// follow the caption in a row.

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace zav {

class TCaptionPanel : public QFrame {
    Q_OBJECT
public:
    TCaptionPanel(const QString& objectName, const QString& caption, QWidget* parent);
    QString Caption() const { return label_->text(); }
    void SetCaption(const QString& caption) { label_->setText(caption); }
    // The caption takes at least this width (0: what its text needs).
    void SetCaptionWidth(int width);
    // The caption is cut at the panel's edge instead of widening the panel: for a status
    // line, whose text may be longer than any window.
    void SetCaptionCut();
    // Puts a control in the row after the caption.
    void AddControl(QWidget* control, int stretch = 0);
    QLabel* CaptionLabel() const { return label_; }

private:
    QLabel* label_;
    QHBoxLayout* row_;
};

} // namespace zav
