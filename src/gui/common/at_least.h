#pragma once
// A widget that keeps its built size as the least a layout gives it, while longer texts
// or a larger font in its contents still make it ask for more.

#include <QGroupBox>
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
        return hint.expandedTo(built_);
    }

    QSize built_;
};

} // namespace zav
