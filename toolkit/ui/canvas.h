#pragma once
// TCanvas: the platform's drawing surface over QPainter.
//
// A canvas holds a Font, a Brush and a Pen and draws on one of:
//   - nothing: a measuring canvas (TCanvas()), which answers TextWidth,
//     TextHeight, TextExtent and DrawText with dtCalcRect from its font and
//     ignores drawing calls;
//   - a paint device (a QImage, a QPixmap, a widget inside its paint event):
//     the painter opens on the first drawing call and closes with Release()
//     or the canvas;
//   - a painter someone else opened (a paint event's QPainter), used as is.
//
// Rectangles are QRects; the pixels they cover are x .. x + width - 1 and
// y .. y + height - 1, as the platform's right/bottom-exclusive rectangles.
// Lines leave out their end point. System colours resolve against the
// canvas palette (the application palette unless SetPalette).
//
// A mirrored canvas (SetMirrored(true, width)) maps x to width - x, so a
// right-to-left control paints with left-to-right coordinates; text stays
// readable. TUnmirroredCell lets one cell paint unmirrored at its mirrored
// place.

#include "toolkit/ui/graphics.h"

#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QTransform>
#include <QVector>
#include <memory>

class QImage;
class QPaintDevice;

namespace tk {

class TGraphic;

// DrawText flags (combine with |).
enum TDrawTextFlag : unsigned {
    dtLeft = 0x0,
    dtCenter = 0x1,
    dtRight = 0x2,
    dtVCenter = 0x4,  // single-line text only
    dtBottom = 0x8,   // single-line text only
    dtWordBreak = 0x10,
    dtSingleLine = 0x20,
    dtExpandTabs = 0x40,
    dtNoClip = 0x100,
    dtCalcRect = 0x400,
    dtNoPrefix = 0x800,
    dtEndEllipsis = 0x8000,
    dtRtlReading = 0x20000,
};

enum class TGradientDirection { gdHorizontal, gdVertical };

class TCanvas {
public:
    // A measuring canvas.
    TCanvas();
    // Draws on device, which must outlive the canvas (or its Release()).
    explicit TCanvas(QPaintDevice* device);
    // Draws with an open painter owned by the caller.
    explicit TCanvas(QPainter* painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font() const { return font_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }
    QPalette Palette() const { return palette_; }
    void SetPalette(const QPalette& palette) { palette_ = palette; }

    // False for a measuring canvas.
    bool CanDraw() const { return device_ || borrowed_; }
    // The painter, opened on the device if needed (nullptr when measuring).
    QPainter* Painter();
    // Ends an own painter so that the device can be read; the next drawing
    // call opens it again. Clipping and mirroring are kept.
    void Release();

    // --- Shapes (brush for fills, pen for outlines) ---
    void FillRect(const QRect& rect);
    // A one-pixel frame in the brush colour.
    void FrameRect(const QRect& rect);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(const QRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    QPoint PenPos() const { return penPos_; }
    // Lines through all points; the last point is left out.
    void Polyline(const QVector<QPoint>& points);
    // A filled polygon (brush) with its outline (pen).
    void Polygon(const QVector<QPoint>& points);
    // Pixel at (x, y); clNone when measuring or outside an image device.
    TColor Pixel(int x, int y);

    // --- Text ---
    int TextWidth(const QString& text) const;
    // The font's line height, the same for every text (and the height of
    // TextExtent).
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    // Top-left at (x, y); a solid brush fills the text's extent first.
    void TextOut(int x, int y, const QString& text);
    // As TextOut at (x, y), clipped to rect; a solid brush fills rect.
    void TextRect(const QRect& rect, int x, int y, const QString& text);
    // Lays out text in rect by flags (TDrawTextFlag) and draws it in the
    // font colour, without filling the background. Returns the height of
    // the text. With dtCalcRect nothing is drawn and rect becomes the
    // bounds of the text: same top-left, width of the widest line, height
    // of all lines. Without dtNoPrefix "&x" underlines x and "&&" is "&".
    // With dtWordBreak lines break between words; a word wider than the
    // rectangle stays whole (and is elided with dtEndEllipsis).
    int DrawText(const QString& text, QRect& rect, unsigned flags);

    // --- Pictures ---
    // At (x, y) in the graphic's size; a transparent TBitmap leaves its
    // transparent colour out.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const QRect& rect, const TGraphic& graphic);
    // image at (x, y), leaving out every pixel of exactly keyColor.
    void DrawTransparent(int x, int y, const QImage& image, TColor keyColor);
    // Copies source's sourceRect into dest (scaled when sizes differ).
    void CopyRect(const QRect& dest, TCanvas& source, const QRect& sourceRect);
    // A copy of the pixels of rect (an empty image when measuring).
    QImage Grab(const QRect& rect);

    // --- Clipping ---
    void SetClipRect(const QRect& rect);
    void IntersectClipRect(const QRect& rect);
    void ExcludeClipRect(const QRect& rect);
    void ResetClip();

    // --- Mirroring ---
    bool Mirrored() const { return mirrored_; }
    int MirrorWidth() const { return mirrorWidth_; }
    void SetMirrored(bool mirrored, int width);
    // rect where it lands on the device.
    QRect DeviceRect(const QRect& rect) const;

    // Fills rect with a ramp from startColor (left or top) to endColor.
    void GradientFill(const QRect& rect, TColor startColor, TColor endColor, TGradientDirection direction);

    QColor ToQColor(TColor color) const { return ColorToQColor(color, palette_); }

private:
    friend class TUnmirroredCell;
    void ApplyTransform();
    void Init();

    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    QPalette palette_;
    QPaintDevice* device_ = nullptr;
    QPainter* borrowed_ = nullptr;
    std::unique_ptr<QPainter> own_;
    QPoint penPos_;
    bool mirrored_ = false;
    int mirrorWidth_ = 0;
    // The borrowed painter's own transform, under the mirroring.
    QTransform base_;
    // In device coordinates (under base_), so that it survives Release()
    // and mirroring changes.
    bool clipped_ = false;
    QRegion clip_;
};

// For its lifetime the canvas draws unmirrored; Rect() is the cell's place
// on the device, where the cell paints as on a left-to-right canvas.
class TUnmirroredCell {
public:
    TUnmirroredCell(TCanvas& canvas, const QRect& cell);
    ~TUnmirroredCell();
    QRect Rect() const { return rect_; }

private:
    TCanvas& canvas_;
    bool wasMirrored_;
    QRect rect_;
};

}  // namespace tk
