#pragma once
// A widget that keeps its built size as the least a layout gives it, while longer texts
// or a larger font in its contents still make it ask for more.

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <type_traits>

namespace zav {

// What a group's title needs: its text, the indent before it and the frame after it.
// (The style's own hint adds a margin that would widen groups the captions fit.)
int GroupTitleWidth(const QGroupBox& group);
// What a push button's caption needs, without the style's customary floor for short
// captions (that floor would widen buttons that were built narrower).
int ButtonCaptionWidth(const QPushButton& button);
// What a field's text needs with the field's frame and margins (the style's own hint is
// some seventeen characters, whatever the field holds).
int EditTextWidth(const QLineEdit& edit);

template <class TWidget> class TAtLeast : public TWidget {
public:
    template <class... TArgs>
    explicit TAtLeast(QSize built, TArgs&&... args)
        : TWidget(std::forward<TArgs>(args)...), built_(built) {}

    QSize minimumSizeHint() const override { return Need(TWidget::minimumSizeHint()); }
    QSize sizeHint() const override { return Need(TWidget::sizeHint()); }

private:
    QSize Need(QSize hint) const {
        if constexpr (std::is_same_v<TWidget, QGroupBox>)
            hint = QWidget::minimumSizeHint().expandedTo({GroupTitleWidth(*this), 0});
        else if constexpr (std::is_same_v<TWidget, QPushButton>)
            hint.setWidth(ButtonCaptionWidth(*this));
        else if constexpr (std::is_same_v<TWidget, QLineEdit>)
            hint.setWidth(EditTextWidth(*this));
        return hint.expandedTo(built_);
    }

    QSize built_;
};

// A value field of its built width, wider where its text needs more at a larger font;
// it does not stretch with the room around it.
QLineEdit* ValueField(const QString& text, int builtWidth, QWidget* parent);

} // namespace zav
