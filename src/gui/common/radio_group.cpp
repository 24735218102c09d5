#include "common/radio_group.h"

#include <QHBoxLayout>
#include <QResizeEvent>

#include "common/at_least.h"
#include "common/lay_out_now.h"

namespace zav {

TRadioGroup::TRadioGroup(const QString& objectName, const QString& caption,
                         const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)),
      columns_(std::max(1, columns)) {
    setObjectName(objectName);
    // Filled column by column; the rows share the group's height, each item centred in
    // its row, and the columns share its width.
    grid_->setContentsMargins(6, 0, 4, 0);
    grid_->setHorizontalSpacing(4);
    grid_->setVerticalSpacing(0);
    const int perColumn = std::max<int>(1, (items.size() + columns_ - 1) / columns_);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + "_" + QString::number(i));
        group_->addButton(button, i);
        buttons_.push_back(button);
        grid_->addWidget(button, i % perColumn, i / perColumn);
    }
    for (int column = 0; column < columns_; ++column)
        grid_->setColumnStretch(column, 1);
    for (int row = 0; row < perColumn; ++row)
        grid_->setRowStretch(row, 1);
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

void TRadioGroup::Arrange() {
    LayOutNow(*this);
    Arranged();
}

QSize TRadioGroup::minimumSizeHint() const {
    return QWidget::minimumSizeHint().expandedTo({GroupTitleWidth(*this), 0});
}

void TRadioGroup::SetItemWidth(int width) {
    itemWidth_ = width;
    for (QRadioButton* button : buttons_) {
        button->setMinimumWidth(std::max(0, width));
        button->setMaximumWidth(width > 0 ? width : QWIDGETSIZE_MAX);
        grid_->setAlignment(button, width > 0 ? Qt::AlignLeft : Qt::Alignment());
    }
    for (int column = 0; column < columns_; ++column)
        grid_->setColumnMinimumWidth(column, width);
    Arrange();
}

void TRadioGroup::SetCompanion(int index, QWidget* widget) {
    QRadioButton* button = Button(index);
    int row = 0, column = 0, rows = 0, columns = 0;
    grid_->getItemPosition(grid_->indexOf(button), &row, &column, &rows, &columns);
    grid_->removeWidget(button);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(4);
    cell->addWidget(button);
    cell->addWidget(widget);
    cell->addStretch(1);
    grid_->addLayout(cell, row, column);
    Arrange();
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    // The layout has placed the buttons by now.
    QGroupBox::resizeEvent(event);
    Arranged();
}

} // namespace zav
