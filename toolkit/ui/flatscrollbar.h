#pragma once
// TFlatScrollBar: the classic scroll information (minimum, maximum, page,
// position) and flat-bar look (style, colour) put onto a QScrollBar.
//
// Scroll information, as the classic platform reads it:
// - Max below Min is taken as Min; Page is clamped to 0..Max - Min + 1.
// - Page 0 means a thumb of fixed size (not proportional); otherwise the
//   thumb shows Page of the Max - Min + 1 units.
// - The largest position is Max - Page + 1 (Max with page 0); positions are
//   clamped to Min..largest.
// On the QScrollBar this is minimum = Min, maximum = largest position,
// pageStep = Page, value = position. With nothing to scroll (largest <= Min)
// the Qt range is empty, which a scroll area showing its bars "as needed"
// hides. Setting information or position never emits valueChanged: like the
// classic call it is not a scroll request of the user. A changed range is
// still announced (rangeChanged), since scroll areas show and hide their
// bars on it.
//
// Style: ssRegular is the application style; ssFlat paints the groove in the
// bar's colour with a flat thumb; ssHotTrack is flat with the thumb
// highlighted under the mouse. Without a colour (an invalid QColor) the
// palette's light colour is used.
//
// The bar is not owned and must outlive the facade.

#include "toolkit/ui/uienums.h"

#include <QColor>

class QScrollBar;

namespace tk {

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    bool operator==(const TScrollInfo&) const = default;
};

class TFlatScrollBar {
public:
    explicit TFlatScrollBar(QScrollBar* bar);

    QScrollBar* Bar() const { return bar_; }

    // Stores info after the rules above and applies it.
    void SetScrollInfo(const TScrollInfo& info);
    // The stored information, with the position the bar has now (the user
    // may have moved the thumb since).
    TScrollInfo ScrollInfo() const;
    // Moves the thumb, clamped to Min..LargestPosition().
    void SetPosition(int position);
    int Position() const;
    int LargestPosition() const;
    // Whether there is anything to scroll.
    bool Scrollable() const { return LargestPosition() > info_.Min; }

    TScrollBarStyle Style() const { return style_; }
    void SetStyle(TScrollBarStyle style);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

private:
    void ApplyLook();

    QScrollBar* bar_;
    TScrollInfo info_;
    TScrollBarStyle style_ = ssRegular;
    QColor color_;
};

}  // namespace tk
