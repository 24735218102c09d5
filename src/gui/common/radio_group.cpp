#include "common/radio_group.h"

#include <QResizeEvent>

#include "common/at_least.h"

namespace zav {

TRadioGroup::TRadioGroup(const QString& objectName, const QString& caption,
                         const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(1, columns)) {
    setObjectName(objectName);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + "_" + QString::number(i));
        group_->addButton(button, i);
        buttons_.push_back(button);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit Click();
    });
    Arrange();
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index == ItemIndex())
        return;
    if (index >= 0 && index < Count()) {
        Button(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its button.
    group_->setExclusive(false);
    for (auto* button : buttons_)
        button->setChecked(false);
    group_->setExclusive(true);
}

void TRadioGroup::SetItemCaption(int index, const QString& caption) {
    if (index >= 0 && index < Count()) {
        Button(index)->setText(caption);
        updateGeometry();
    }
}

int TRadioGroup::ItemsTop() const {
    return title().isEmpty() ? 4 : fontMetrics().height() + 2;
}

QSize TRadioGroup::minimumSizeHint() const {
    if (buttons_.empty())
        return QGroupBox::minimumSizeHint();
    int itemWidth = 0;
    int itemHeight = 0;
    for (const QRadioButton* button : buttons_) {
        const QSize hint = button->sizeHint();
        itemWidth = std::max(itemWidth, hint.width());
        itemHeight = std::max(itemHeight, hint.height());
    }
    if (itemWidth_ > 0)
        itemWidth = itemWidth_;
    const int perColumn = (Count() + columns_ - 1) / columns_;
    // The margins Arrange leaves: 8 on the left, 4 after each column and at the foot.
    const int width = 8 + columns_ * (itemWidth + 4) + 4;
    const int height = ItemsTop() + perColumn * itemHeight + 4;
    return {std::max(GroupTitleWidth(*this), width), height};
}

void TRadioGroup::Arrange() {
    if (buttons_.empty())
        return;
    const int perColumn = (Count() + columns_ - 1) / columns_;
    const int top = ItemsTop();
    const int left = 8;
    const int columnWidth = std::max(1, (width() - left - 4) / columns_);
    const int rowHeight = std::max(1, (height() - top - 4) / perColumn);
    const int buttonHeight = std::min(rowHeight, buttons_[0]->sizeHint().height());
    for (int i = 0; i < Count(); ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        buttons_[static_cast<std::size_t>(i)]->setGeometry(
            left + column * columnWidth, top + row * rowHeight + (rowHeight - buttonHeight) / 2,
            itemWidth_ > 0 ? itemWidth_ : columnWidth - 4, buttonHeight);
    }
    Arranged();
}

void TRadioGroup::SetItemWidth(int width) {
    itemWidth_ = width;
    Arrange();
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    Arrange();
}

} // namespace zav
