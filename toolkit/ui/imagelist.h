#pragma once
// TImageList: a row of images of one size, drawn by index.
//
// Images are kept with an alpha mask: AddMasked and ReplaceMasked leave out
// every pixel of the mask colour. A strip wider than one image is split
// into Width-wide images from the left; a rest narrower than Width is
// dropped, a strip lower than Height is padded with transparent pixels.
// Changing Width or Height empties the list, as the platform does.
//
// Draw paints an image with its mask; BkColor, unless clNone, fills the
// image's rectangle first. The disabled look is the platform's embossed
// grey: the image's shape (its visible pixels that are not near white) in
// clBtnHighlight one pixel right and down, and again in clBtnShadow at the
// place itself. DrawBlended mixes each visible pixel half and half with a
// colour.
//
// A TImageList is a component: code that keeps a pointer to one asks for
// FreeNotification and forgets it in Notification(opRemove); the list is
// still whole (Count, images) while observers are told.

#include "toolkit/core/component.h"
#include "toolkit/ui/colors.h"

#include <QImage>
#include <QVector>
#include <functional>

namespace tk {

class TBitmap;
class TCanvas;

class TImageList : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(tk::TColor BkColor READ BkColor WRITE SetBkColor)
    Q_CLASSINFO("Default:Width", "16")
    Q_CLASSINFO("Default:Height", "16")
    Q_CLASSINFO("Default:BkColor", "clNone")
public:
    Q_INVOKABLE explicit TImageList(QObject* owner = nullptr);
    TImageList(int width, int height, QObject* owner = nullptr);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Sizes below 1 raise EInvalidOperation "Invalid image size"; a change
    // empties the list.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(images_.size()); }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor color);

    // Adds bitmap's image(s) without a mask; the index of the first, or -1
    // when the bitmap is narrower than one image.
    int Add(const TBitmap& bitmap);
    // As Add, leaving out the pixels of maskColor.
    int AddMasked(const TBitmap& bitmap, TColor maskColor);
    // Replaces image index with the first image of bitmap, masked.
    // EInvalidOperation "Invalid image list index" when index is not in
    // 0 .. Count-1.
    void ReplaceMasked(int index, const TBitmap& bitmap, TColor maskColor);
    // EInvalidOperation as above.
    void Delete(int index);
    void Clear();

    // Loads the toolkit bitmap resource name (see TBitmap::LoadFromResourceName)
    // as a strip of square images as high as the bitmap, masked by
    // maskColor; the list is emptied first.
    void LoadStripResource(const QString& name, TColor maskColor = clOlive);

    // Draws image index with its top-left at (x, y); an index outside the
    // list draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Draws image index with its visible pixels blended halfway towards
    // blendColor (the platform's selected look; the grid draws its images
    // so when it is disabled). The mask stays: hidden pixels stay hidden.
    void DrawBlended(TCanvas& canvas, int x, int y, int index, TColor blendColor) const;
    // The image on BkColor (white when BkColor is clNone), Width x Height.
    // EInvalidOperation as above.
    void GetBitmap(int index, TBitmap& bitmap) const;
    // The image with its mask as alpha; null for an index outside the list.
    QImage Image(int index) const;

    // After every change of the images or their size.
    std::function<void()> OnChange;

private:
    void CheckIndex(int index) const;
    QVector<QImage> Split(const TBitmap& bitmap, TColor maskColor, bool masked) const;
    // Adds images at the end: the index of the first, -1 when there are none.
    int Append(const QVector<QImage>& images);
    void Changed();

    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    QVector<QImage> images_;
};

}  // namespace tk
