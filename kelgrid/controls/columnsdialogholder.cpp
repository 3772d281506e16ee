#include "kelgrid/controls/columnsdialogholder.h"

#include <QPainter>

namespace kelgrid {

namespace {

constexpr int kHolderSize = 28;

}  // namespace

TKelDBColumnsDialogHolder::TKelDBColumnsDialogHolder(QWidget* parent)
    : QWidget(parent), dialog_(new TKelDBColumnsDialog(this))
{
    // Explicitly hidden, so that showing the form leaves it hidden.
    setVisible(false);
}

QPixmap TKelDBColumnsDialogHolder::Picture(int size)
{
    Q_ASSERT(size > 0);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    // A window with three list lines, a tick before each of the first two.
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
    painter.drawRect(QRectF(2.5, 2.5, 19, 19));
    painter.fillRect(QRectF(3, 3, 18, 4), QColor(0x2f, 0x5f, 0xa8));
    for (int line = 0; line < 3; ++line) {
        const qreal y = 10.5 + line * 4;
        painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
        painter.drawLine(QPointF(10, y), QPointF(19, y));
        if (line < 2) {
            painter.setPen(QPen(QColor(0x1c, 0x8a, 0x2e), 1.5));
            painter.drawPolyline(QPolygonF({QPointF(4.5, y - 0.5), QPointF(6, y + 1), QPointF(8.5, y - 2)}));
        }
    }
    return picture;
}

QSize TKelDBColumnsDialogHolder::sizeHint() const
{
    return {kHolderSize, kHolderSize};
}

void TKelDBColumnsDialogHolder::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int side = qMin(width(), height());
    painter.drawPixmap((width() - side) / 2, (height() - side) / 2, Picture(qMax(side, 1)));
}

}  // namespace kelgrid
