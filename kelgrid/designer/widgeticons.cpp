#include "kelgrid/designer/widgeticons.h"

#include "kelgrid/controls/columnsdialogholder.h"

#include <QPainter>
#include <QPixmap>

namespace kelgrid::designer {

namespace {

constexpr int kIconSize = 24;
const QColor kFrame(0x40, 0x40, 0x40);
const QColor kTitles(0xd4, 0xd0, 0xc8);
const QColor kCells(0xff, 0xff, 0xff);
const QColor kCurrent(0x2f, 0x5f, 0xa8);

QPixmap BlankIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QIcon GridIcon()
{
    QPixmap pixmap = BlankIcon();
    QPainter painter(&pixmap);
    // A title row, an indicator column and a current row.
    painter.fillRect(2, 3, 20, 18, kCells);
    painter.fillRect(2, 3, 20, 4, kTitles);
    painter.fillRect(2, 3, 4, 18, kTitles);
    painter.fillRect(6, 11, 16, 3, kCurrent);
    painter.setPen(kFrame);
    for (int y = 7; y < 21; y += 4)
        painter.drawLine(2, y, 21, y);
    for (int x = 6; x < 22; x += 6)
        painter.drawLine(x, 3, x, 20);
    painter.drawRect(2, 3, 19, 17);
    return QIcon(pixmap);
}

QIcon NavigatorIcon()
{
    QPixmap pixmap = BlankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A button bar with "first", "prior", "next" and "last" arrows.
    painter.setPen(kFrame);
    painter.setBrush(kTitles);
    painter.drawRect(QRectF(0.5, 6.5, 23, 11));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCurrent);
    painter.drawRect(QRectF(2, 9, 1.5, 6));
    painter.drawPolygon(QPolygonF({QPointF(8, 9), QPointF(8, 15), QPointF(4, 12)}));
    painter.drawPolygon(QPolygonF({QPointF(11, 9), QPointF(11, 15), QPointF(8.5, 12)}));
    painter.drawPolygon(QPolygonF({QPointF(13, 9), QPointF(13, 15), QPointF(15.5, 12)}));
    painter.drawPolygon(QPolygonF({QPointF(16, 9), QPointF(16, 15), QPointF(20, 12)}));
    painter.drawRect(QRectF(20.5, 9, 1.5, 6));
    return QIcon(pixmap);
}

QIcon ColumnsDialogIcon()
{
    return QIcon(TKelDBColumnsDialogHolder::Picture(kIconSize));
}

}  // namespace kelgrid::designer
