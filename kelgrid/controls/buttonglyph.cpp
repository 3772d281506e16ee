#include "kelgrid/controls/buttonglyph.h"

#include "kelgrid/controls/buttonlayout.h"
#include "kelgrid/controls/glyphcache.h"
#include "kelgrid/controls/glyphimages.h"
#include "kelgrid/controls/glyphlist.h"
#include "kelgrid/controls/orvthemes.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/pictures.h"

#include <algorithm>

namespace kelgrid {

namespace {

int StateSlot(tk::TButtonState state)
{
    return static_cast<int>(state);
}

}  // namespace

TOrvButtonGlyph::TOrvButtonGlyph() : glyph_(std::make_unique<tk::TBitmap>()) {}

TOrvButtonGlyph::~TOrvButtonGlyph()
{
    FreeImages();
}

void TOrvButtonGlyph::SetGlyph(const tk::TBitmap& bitmap)
{
    glyph_->Assign(&bitmap);
    Invalidate();
}

void TOrvButtonGlyph::SetNumGlyphs(int count)
{
    count = std::clamp(count, 1, 4);
    if (count == numGlyphs_)
        return;
    numGlyphs_ = count;
    Invalidate();
}

void TOrvButtonGlyph::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Invalidate();
}

tk::TColor TOrvButtonGlyph::TransparentColor() const
{
    // The bitmap's own: the colour it was given, else its bottom-left pixel.
    return transparentColor_ != tk::clDefault ? transparentColor_ : glyph_->TransparentColor();
}

void TOrvButtonGlyph::SetTransparentColor(tk::TColor color)
{
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    Invalidate();
}

QSize TOrvButtonGlyph::GlyphSize() const
{
    if (glyph_->Empty() || glyph_->Width() < numGlyphs_)
        return {0, 0};
    return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

tk::TButtonState TOrvButtonGlyph::ImageState(tk::TButtonState state) const
{
    // A bitmap without an exclusive image shows the pressed one, one
    // without a pressed image the normal one: cutting beyond the bitmap
    // would give a blank glyph.
    if (state == tk::TButtonState::bsExclusive && numGlyphs_ < 4)
        state = tk::TButtonState::bsDown;
    if (state == tk::TButtonState::bsDown && numGlyphs_ < 3)
        state = tk::TButtonState::bsUp;
    return state;
}

int TOrvButtonGlyph::ImageIndex(tk::TButtonState state)
{
    state = ImageState(state);
    int& index = indexes_[static_cast<size_t>(StateSlot(state))];
    if (index == -1)
        index = CreateImage(state);
    return index;
}

int TOrvButtonGlyph::CreateImage(tk::TButtonState state)
{
    const QSize size = GlyphSize();
    if (size.isEmpty())
        return -1;
    const int cell = state == tk::TButtonState::bsDisabled && numGlyphs_ < 2 ? 0 : StateSlot(state);
    const QImage cut = glyph_->Image().copy(QRect(QPoint(cell * size.width(), 0), size));
    const tk::TColor key = tk::ColorToRGB(TransparentColor());

    tk::TBitmap image;
    tk::TColor mask = transparent_ ? key : tk::clNone;
    if (state == tk::TButtonState::bsDisabled) {
        image.SetImage(numGlyphs_ < 2 ? GeneratedDisabledImage(cut, transparent_ ? key : tk::clNone)
                                      : RecolouredDisabledImage(cut, key));
        mask = tk::clBtnFace;
    } else {
        image.SetImage(cut);
    }
    if (!list_)
        list_ = GlyphCache().GetList(size.width(), size.height());
    return list_->AddMasked(image, mask);
}

void TOrvButtonGlyph::FreeImages()
{
    if (!list_)
        return;
    for (int& index : indexes_) {
        if (index != -1)
            list_->Delete(index);
        index = -1;
    }
    GlyphCache().ReturnList(list_);
    list_ = nullptr;
}

void TOrvButtonGlyph::Invalidate()
{
    FreeImages();
    if (OnChange)
        OnChange();
}

QRect TOrvButtonGlyph::Draw(tk::TCanvas& canvas, const QRect& client, const QPoint& offset,
                            const QString& caption, tk::TButtonLayout layout, int margin, int spacing,
                            tk::TButtonState state, bool transparent, Qt::LayoutDirection direction)
{
    const unsigned textFlags = tk::dtCenter | tk::dtVCenter | tk::dtSingleLine;
    QSize textSize(0, 0);
    if (!caption.isEmpty()) {
        QRect measured(0, 0, client.width(), 0);
        canvas.DrawText(caption, measured, textFlags | tk::dtCalcRect);
        textSize = measured.size();
    }
    const QPoint shift = ThemesEnabled(nullptr) ? QPoint() : offset;
    const TButtonLayoutResult placed = CalcButtonLayout(client, shift, GlyphSize(), textSize, layout, margin,
                                                        spacing, direction == Qt::RightToLeft);

    const int index = ImageIndex(state);
    if (index != -1) {
        if (!transparent && state != tk::TButtonState::bsExclusive) {
            const tk::TColor oldBrush = canvas.Brush()->Color();
            canvas.Brush()->SetColor(tk::clBtnFace);
            canvas.FillRect(QRect(placed.glyphPos, GlyphSize()));
            canvas.Brush()->SetColor(oldBrush);
        }
        list_->Draw(canvas, placed.glyphPos.x(), placed.glyphPos.y(), index);
    }

    if (!caption.isEmpty()) {
        const auto oldStyle = canvas.Brush()->Style();
        const tk::TColor oldColor = canvas.Font()->Color();
        canvas.Brush()->SetStyle(tk::TBrush::bsClear);
        QRect bounds = placed.textBounds;
        if (state == tk::TButtonState::bsDisabled) {
            QRect raised = bounds.translated(1, 1);
            canvas.Font()->SetColor(tk::clBtnHighlight);
            canvas.DrawText(caption, raised, textFlags);
            canvas.Font()->SetColor(tk::clBtnShadow);
        }
        canvas.DrawText(caption, bounds, textFlags);
        canvas.Font()->SetColor(oldColor);
        canvas.Brush()->SetStyle(oldStyle);
    }
    return placed.textBounds;
}

}  // namespace kelgrid
