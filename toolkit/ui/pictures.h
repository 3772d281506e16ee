#pragma once
// Pictures: TGraphic and the formats it comes in, and TPicture, which holds
// one graphic of whatever format a stream turns out to be.
//
// Each format checks its stream's signature before decoding, so a JPEG is
// never taken for a bitmap: TBitmap ("BM"), TJPEGImage (FF D8 FF), TIcon
// (00 00 01 00), all decoded and encoded by Qt into a QImage. TMetafile
// recognises placeable (D7 CD C6 9A) and enhanced (" EMF" at offset 40)
// metafiles but cannot load them: nothing on this system renders metafile
// records, so LoadFromStream raises EInvalidGraphic "Metafiles cannot be
// shown on this system" rather than show an empty picture.
//
// TBitmap is also a drawing surface: Canvas() draws into its image, SetSize
// gives it a size, Transparent and TransparentColor make it draw without
// one colour, Monochrome turns it black and white, and LoadFromResourceName
// reads one of the bitmaps compiled into the toolkit.

#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/colors.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QIODevice;
class QPainter;

namespace tk {

class TCanvas;

TK_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
TK_DECLARE_EXCEPTION(EResNotFound, Exception)

// A copy of image (as ARGB) in which every pixel of exactly keyColor (an RGB
// value; system colours resolve against the application palette) is fully
// transparent.
QImage WithTransparentColor(const QImage& image, TColor keyColor);

class TGraphic : public TPersistent {
    Q_OBJECT
public:
    explicit TGraphic(QObject* parent = nullptr);

    // Reads the rest of the device; EInvalidGraphic when the bytes are not
    // this format (the graphic is unchanged then).
    virtual void LoadFromStream(QIODevice& device) = 0;
    // EInOutError when the device takes fewer bytes.
    virtual void SaveToStream(QIODevice& device) const = 0;
    // EInOutError when the file cannot be read, EInvalidGraphic as above.
    void LoadFromFile(const QString& path);
    // Replaces the file atomically with the whole encoded graphic.
    void SaveToFile(const QString& path) const;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Paints the graphic stretched to rect.
    virtual void Draw(QPainter& painter, const QRect& rect) const = 0;
};

// A graphic decoded into a QImage by one of Qt's image formats.
class TRasterGraphic : public TGraphic {
    Q_OBJECT
public:
    QImage Image() const
    {
        FinishDrawing();
        return image_;
    }
    void SetImage(const QImage& image)
    {
        FinishDrawing();
        image_ = image;
    }

    void LoadFromStream(QIODevice& device) override;
    void SaveToStream(QIODevice& device) const override;
    bool Empty() const override { return image_.isNull(); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Draw(QPainter& painter, const QRect& rect) const override;
    // Copies the image of any raster graphic.
    void Assign(const TPersistent* source) override;

    // True when bytes start as this format's files do.
    virtual bool HasSignature(const QByteArray& bytes) const = 0;

protected:
    TRasterGraphic(const char* qtFormat, QObject* parent);
    // "Bitmap image is not valid" and the like.
    virtual QString InvalidMessage() const = 0;
    // Ends drawing into the image before it is read or replaced.
    virtual void FinishDrawing() const {}
    QImage& ImageForDrawing() { return image_; }

private:
    const char* qtFormat_;
    QImage image_;
};

class TBitmap : public TRasterGraphic {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBitmap(QObject* parent = nullptr);
    ~TBitmap() override;
    bool HasSignature(const QByteArray& bytes) const override;

    // Draws into the image; the image must have a size for anything to be
    // drawn (a canvas of an empty bitmap only measures).
    TCanvas* Canvas();
    // Keeps the pixels that still fit; new pixels are white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // The colour left out when Transparent: the one set, or with clDefault
    // (the default) the bottom-left pixel's colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    // Switching it on turns the pixels of TransparentColor (when Transparent)
    // or white into white and all other pixels into black; switching it off
    // keeps the black and white pixels.
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool monochrome);

    // Loads ":/toolkit/bitmaps/<name>.png" (name as written, upper case for
    // the toolkit's own); EResNotFound "Resource <name> not found" when the
    // toolkit has no such bitmap.
    void LoadFromResourceName(const QString& name);

    void Draw(QPainter& painter, const QRect& rect) const override;
    // Copies transparency and monochrome settings from another bitmap too.
    void Assign(const TPersistent* source) override;

protected:
    QString InvalidMessage() const override { return QStringLiteral("Bitmap image is not valid"); }
    void FinishDrawing() const override;

private:
    std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
    bool monochrome_ = false;
};

class TJPEGImage : public TRasterGraphic {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TJPEGImage(QObject* parent = nullptr);
    bool HasSignature(const QByteArray& bytes) const override;

protected:
    QString InvalidMessage() const override { return QStringLiteral("JPEG image is not valid"); }
};

class TIcon : public TRasterGraphic {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TIcon(QObject* parent = nullptr);
    bool HasSignature(const QByteArray& bytes) const override;

protected:
    QString InvalidMessage() const override { return QStringLiteral("Icon image is not valid"); }
};

// Always empty; see the note at the top.
class TMetafile : public TGraphic {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TMetafile(QObject* parent = nullptr);
    static bool HasSignature(const QByteArray& bytes);

    void LoadFromStream(QIODevice& device) override;
    void SaveToStream(QIODevice& device) const override;
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void Draw(QPainter&, const QRect&) const override {}
};

// One graphic of any format (none at first).
//   - LoadFromStream and LoadFromFile pick the format by the signature of
//     the bytes, not by a file extension;
//   - Assign takes a picture, a graphic (copied), or a blob field: a
//     TGraphicField holds a bitmap (optionally after the 8-byte graphic
//     header older tables wrote), other blob fields any format; an empty
//     field empties the picture;
//   - field->Assign(picture) stores the graphic into a blob field (a
//     TGraphicField always as a bitmap); an empty picture clears it.
class TPicture : public TPersistent {
    Q_OBJECT
public:
    explicit TPicture(QObject* parent = nullptr);
    ~TPicture() override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Keeps a copy of graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; an empty TBitmap replaces any other graphic.
    TBitmap* Bitmap();

    // EInvalidGraphic for bytes of no known format; the picture is
    // unchanged on every failure.
    void LoadFromStream(QIODevice& device);
    void LoadFromFile(const QString& path);
    void SaveToStream(QIODevice& device) const;
    // Atomic: the file is the old one or the whole new one.
    void SaveToFile(const QString& path) const;

    bool Empty() const { return !graphic_ || graphic_->Empty(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    void Assign(const TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    void LoadFromBytes(const QByteArray& bytes);
    std::unique_ptr<TGraphic> graphic_;
};

}  // namespace tk
