#pragma once
// TKelHintWindow: the window the grid's tooltips show in, laid over the cell
// whose text it repeats. It keeps the platform window's geometry (text
// measured + 6 x 2, shown 4 higher, a one-pixel border) and adds what a cell
// has: its font, its alignment and, for memo cells and fixed-width
// tooltips, a width fixed to the cell's that the text wraps in.
//
// What a hint asks for travels as TKelHintData in THintInfo::HintData;
// CalcHintRect takes it (a hint without it is measured in the window's font,
// left aligned, free width):
// - The canvas takes the data's font (the window's own when none); a
//   right-to-left hint sets the window to right-to-left.
// - Fixed width: a centred text's even maxWidth grows by 1 (so it centres
//   on a whole pixel); the text is wrapped to maxWidth + 2; the width
//   becomes maxWidth when the text is narrower, or when it is at most
//   maxWidth + 2 wide and takes more than one line.
// - Free width: measured within maxWidth; a centred text of even width
//   grows by 1.
// - Then the rectangle grows by 6 in width and 2 in height.
// Paint draws the text inside the client area narrowed by 2 on the side it
// is aligned to (1 on each side when centred) and 2 at the top, in
// clInfoText, with word breaks, without prefix characters, in the window's
// reading order.

#include "kelgrid/kelgridexport.h"
#include "toolkit/core/alignment.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/hintwindow.h"

#include <QMetaType>
#include <QPointer>

namespace kelgrid {

struct TKelHintData {
    // The cell's font; nullptr (or a font freed since) is the window's own.
    QPointer<tk::TFont> font;
    tk::TAlignment alignment = tk::taLeftJustify;
    bool fixedWidth = false;
    bool rightToLeft = false;
};

class KELGRID_EXPORT TKelHintWindow : public tk::THintWindow {
    Q_OBJECT
public:
    TKelHintWindow();
    ~TKelHintWindow() override;

    // As the last CalcHintRect took them.
    tk::TAlignment Alignment() const { return alignment_; }
    bool FixedWidth() const { return fixedWidth_; }

    QRect CalcHintRect(int maxWidth, const QString& hint, const QVariant& data) override;

protected:
    void Paint() override;

private:
    // Lays hint out on the canvas within width; the bounds, and how many
    // lines it took.
    QRect MeasureText(const QString& hint, int width, int& lines);

    tk::TAlignment alignment_ = tk::taLeftJustify;
    bool fixedWidth_ = false;
};

}  // namespace kelgrid

Q_DECLARE_METATYPE(kelgrid::TKelHintData)
