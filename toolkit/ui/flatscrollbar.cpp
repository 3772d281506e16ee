#include "toolkit/ui/flatscrollbar.h"

#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>

namespace tk {

TFlatScrollBar::TFlatScrollBar(QScrollBar* bar) : bar_(bar)
{
    Q_ASSERT(bar_);
    info_ = {bar_->minimum(), bar_->maximum(), 0, bar_->value()};
    SetScrollInfo(info_);
}

void TFlatScrollBar::SetScrollInfo(const TScrollInfo& info)
{
    info_.Min = info.Min;
    info_.Max = std::max(info.Max, info.Min);
    // In 64 bits: Max - Min + 1 overflows int for the widest ranges.
    const qint64 units = qint64(info_.Max) - info_.Min + 1;
    info_.Page = int(std::clamp<qint64>(info.Page, 0, std::min<qint64>(units, INT_MAX)));
    info_.Pos = std::clamp(info.Pos, info_.Min, LargestPosition());

    const bool rangeChanged = bar_->minimum() != info_.Min || bar_->maximum() != LargestPosition();
    {
        const QSignalBlocker quiet(bar_);
        bar_->setRange(info_.Min, LargestPosition());
        bar_->setPageStep(info_.Page);
        bar_->setValue(info_.Pos);
    }
    // The owner of the bar (a scroll area showing it as needed) still has to
    // hear about the range; only the value change stays quiet.
    if (rangeChanged)
        emit bar_->rangeChanged(bar_->minimum(), bar_->maximum());
}

TScrollInfo TFlatScrollBar::ScrollInfo() const
{
    TScrollInfo info = info_;
    info.Pos = Position();
    return info;
}

void TFlatScrollBar::SetPosition(int position)
{
    info_.Pos = std::clamp(position, info_.Min, LargestPosition());
    const QSignalBlocker quiet(bar_);
    bar_->setValue(info_.Pos);
}

int TFlatScrollBar::Position() const
{
    return bar_->value();
}

int TFlatScrollBar::LargestPosition() const
{
    if (info_.Page == 0)
        return info_.Max;
    return int(std::max<qint64>(qint64(info_.Max) - info_.Page + 1, info_.Min));
}

void TFlatScrollBar::SetStyle(TScrollBarStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    ApplyLook();
}

void TFlatScrollBar::SetColor(const QColor& color)
{
    if (color == color_)
        return;
    color_ = color;
    ApplyLook();
}

void TFlatScrollBar::ApplyLook()
{
    if (style_ == ssRegular) {
        bar_->setStyleSheet(QString());
        return;
    }
    const QPalette palette = bar_->palette();
    const QColor groove = color_.isValid() ? color_ : palette.color(QPalette::Light);
    const QColor thumb = palette.color(QPalette::Button);
    const QColor frame = palette.color(QPalette::Mid);
    QString sheet = QStringLiteral("QScrollBar { background: %1; border: none; }"
                                   "QScrollBar::add-page, QScrollBar::sub-page { background: %1; }"
                                   "QScrollBar::handle { background: %2; border: 1px solid %3;"
                                   " min-width: 8px; min-height: 8px; }"
                                   "QScrollBar::add-line, QScrollBar::sub-line { background: %2;"
                                   " border: 1px solid %3; }")
                        .arg(groove.name(), thumb.name(), frame.name());
    if (style_ == ssHotTrack)
        sheet += QStringLiteral("QScrollBar::handle:hover { background: %1; }")
                     .arg(palette.color(QPalette::Highlight).name());
    bar_->setStyleSheet(sheet);
}

}  // namespace tk
