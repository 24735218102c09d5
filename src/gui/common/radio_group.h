#pragma once
// A captioned group of radio buttons laid out in columns, filled column by column, with
// an item index like a list box: -1 while no item is selected. Click is emitted whenever
// the selection changes, by the operator or by SetItemIndex.

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace zav {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& objectName, const QString& caption, const QStringList& items,
                int columns, QWidget* parent);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    void SetItemCaption(int index, const QString& caption);
    // Buttons narrower than their column (0: the column's width).
    void SetItemWidth(int width);
    // Puts widget (a child of the group) right after item index, in the item's cell.
    void SetCompanion(int index, QWidget* widget);
    // Places the buttons at once for the group's present size (a group not shown yet
    // gets its resize events only when shown).
    void Arrange();
    // Room for the caption and for every item in its column, and no more (the style's
    // own hint for a group adds a margin beyond its caption); the layout around gives
    // the group what else there is.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Called after the buttons were placed.
    virtual void Arranged() {}

private:
    QButtonGroup* group_;
    QGridLayout* grid_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
    int itemWidth_ = 0;
};

} // namespace zav
