#include "common/text_icon.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>

namespace zav {

namespace {
// Draws the letters at whatever size and pixel density the icon is asked for, so the
// glyphs stay sharp on high-resolution screens.
class TTextIconEngine : public QIconEngine {
public:
    TTextIconEngine(QString text, QColor color) : text_(std::move(text)), color_(color) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        QFont font = painter->font();
        // Sized to the icon: two letters fill it, three fit when narrowed.
        const bool three = text_.size() > 2;
        font.setPixelSize(std::max(6, rect.height() * (three ? 9 : 10) / 20));
        font.setBold(true);
        if (three)
            font.setStretch(QFont::Condensed);
        painter->setFont(font);
        painter->setPen(mode == QIcon::Disabled ? QColor(150, 150, 150) : color_);
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->drawText(rect, Qt::AlignCenter, text_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new TTextIconEngine(text_, color_); }

private:
    QString text_;
    QColor color_;
};
} // namespace

QIcon TextIcon(const QString& text, QColor color) {
    return QIcon(new TTextIconEngine(text, color));
}

} // namespace zav
