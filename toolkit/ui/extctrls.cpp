#include "toolkit/ui/extctrls.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tk {

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent), TControl(this)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::SetMax(int max)
{
    setMaximum(std::max(max, minimum() + 1));
    SetPosition(position_);
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, minimum(), maximum());
    setValue(position_);
}

TImage::TImage(QWidget* parent) : QLabel(parent), TControl(this)
{
    setAlignment(Qt::AlignCenter);
}

QPixmap CheckMarkPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(size * 0.15, size * 0.55);
    tick.lineTo(size * 0.40, size * 0.80);
    tick.lineTo(size * 0.85, size * 0.22);
    painter.setPen(QPen(QColor(0x2e, 0x9d, 0x3a), std::max(2.0, size / 7.0), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(tick);
    return picture;
}

}  // namespace tk
