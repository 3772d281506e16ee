#include "toolkit/ui/pictures.h"

#include "toolkit/core/fileutils.h"
#include "toolkit/data/fields.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/imagedecoding.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QPainter>
#include <QtEndian>

namespace tk {

namespace {

QByteArray ReadFileOrRaise(const QString& path)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        throw EInOutError(QStringLiteral("Cannot read '%1': %2").arg(path, SysErrorMessage(LastFileError())));
    return bytes;
}

void WriteFileOrRaise(const QString& path, const QByteArray& bytes)
{
    if (!WriteFileAtomic(path, bytes))
        throw EInOutError(
            QStringLiteral("Cannot write '%1': %2").arg(path, SysErrorMessage(LastFileError())));
}

void WriteOrRaise(QIODevice& device, const QByteArray& bytes)
{
    if (device.write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("Cannot write the picture: %1").arg(device.errorString()));
}

QByteArray Encoded(const TGraphic& graphic)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    graphic.SaveToStream(buffer);
    return buffer.data();
}

// Older tables wrote graphic fields with an 8-byte header before the bitmap:
// a count of 1, the type 0x0100 and the size, all little-endian.
QByteArray WithoutGraphicHeader(const QByteArray& bytes)
{
    if (bytes.size() > 8 && qFromLittleEndian<quint16>(bytes.constData()) == 1 &&
        qFromLittleEndian<quint16>(bytes.constData() + 2) == 0x0100 &&
        qFromLittleEndian<quint32>(bytes.constData() + 4) == static_cast<quint32>(bytes.size() - 8))
        return bytes.mid(8);
    return bytes;
}

// The formats TPicture recognises, by signature.
std::unique_ptr<TGraphic> GraphicFor(const QByteArray& bytes)
{
    std::unique_ptr<TRasterGraphic> candidates[] = {
        std::make_unique<TBitmap>(), std::make_unique<TJPEGImage>(), std::make_unique<TIcon>()};
    for (auto& candidate : candidates) {
        if (candidate->HasSignature(bytes))
            return std::move(candidate);
    }
    if (TMetafile::HasSignature(bytes))
        return std::make_unique<TMetafile>();
    return nullptr;
}

void LoadGraphic(TGraphic& graphic, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    graphic.LoadFromStream(buffer);
}

}  // namespace

// --- TGraphic ---------------------------------------------------------------------

TGraphic::TGraphic(QObject* parent) : TPersistent(parent) {}

void TGraphic::LoadFromFile(const QString& path)
{
    LoadGraphic(*this, ReadFileOrRaise(path));
}

void TGraphic::SaveToFile(const QString& path) const
{
    WriteFileOrRaise(path, Encoded(*this));
}

// --- TRasterGraphic -----------------------------------------------------------------

TRasterGraphic::TRasterGraphic(const char* qtFormat, QObject* parent) : TGraphic(parent), qtFormat_(qtFormat)
{
}

void TRasterGraphic::LoadFromStream(QIODevice& device)
{
    FinishDrawing();
    const QByteArray bytes = device.readAll();
    if (!HasSignature(bytes))
        throw EInvalidGraphic(InvalidMessage());
    image_ = DecodeImage(bytes, qtFormat_, InvalidMessage());
}

void TRasterGraphic::SaveToStream(QIODevice& device) const
{
    FinishDrawing();
    if (image_.isNull())
        return;  // an empty graphic writes nothing
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image_.save(&buffer, qtFormat_))
        throw EInvalidGraphic(QStringLiteral("Cannot encode the image as %1").arg(QLatin1String(qtFormat_)));
    WriteOrRaise(device, buffer.data());
}

void TRasterGraphic::Draw(QPainter& painter, const QRect& rect) const
{
    FinishDrawing();
    if (!image_.isNull())
        painter.drawImage(rect, image_);
}

void TRasterGraphic::Assign(const TPersistent* source)
{
    if (const auto* raster = qobject_cast<const TRasterGraphic*>(source)) {
        FinishDrawing();
        image_ = raster->Image();
        return;
    }
    TGraphic::Assign(source);
}

TBitmap::TBitmap(QObject* parent) : TRasterGraphic("BMP", parent) {}

TBitmap::~TBitmap()
{
    // The canvas paints into the image: end it while the image exists.
    canvas_.reset();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(&ImageForDrawing());
    return canvas_.get();
}

void TBitmap::FinishDrawing() const
{
    if (canvas_)
        canvas_->Release();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    FinishDrawing();
    QImage& image = ImageForDrawing();
    QImage sized(width, height, QImage::Format_RGB32);
    sized.fill(Qt::white);
    if (!image.isNull() && width > 0 && height > 0) {
        QPainter painter(&sized);
        painter.drawImage(0, 0, image);
    }
    image = sized;
}

TColor TBitmap::TransparentColor() const
{
    if (transparentColor_ != clDefault)
        return transparentColor_;
    const QImage image = Image();
    if (image.isNull())
        return clDefault;
    return QColorToColor(image.pixelColor(0, image.height() - 1));
}

void TBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == monochrome_)
        return;
    monochrome_ = monochrome;
    if (!monochrome)
        return;
    const TColor white = transparent_ ? ColorToRGB(TransparentColor()) : clWhite;
    QImage image = Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const bool isWhite = RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)) == white;
            line[x] = isWhite ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
    }
    SetImage(image);
}

void TBitmap::LoadFromResourceName(const QString& name)
{
    const QString path = QStringLiteral(":/toolkit/bitmaps/%1.png").arg(name);
    QImage image;
    if (name.isEmpty() || !QFile::exists(path) || !image.load(path))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(name));
    SetImage(image.convertToFormat(QImage::Format_RGB32));
}

void TBitmap::Draw(QPainter& painter, const QRect& rect) const
{
    if (!transparent_) {
        TRasterGraphic::Draw(painter, rect);
        return;
    }
    const QImage image = Image();
    if (!image.isNull())
        painter.drawImage(rect, WithTransparentColor(image, TransparentColor()));
}

void TBitmap::Assign(const TPersistent* source)
{
    TRasterGraphic::Assign(source);
    if (const auto* bitmap = qobject_cast<const TBitmap*>(source)) {
        transparent_ = bitmap->transparent_;
        transparentColor_ = bitmap->transparentColor_;
        monochrome_ = bitmap->monochrome_;
    }
}

QImage WithTransparentColor(const QImage& image, TColor keyColor)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const TColor key = ColorToRGB(keyColor);
    if (key == clNone || key == clDefault)
        return result;
    const QRgb keyRgb = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] | 0xFF000000u) == keyRgb)
                line[x] = 0;
        }
    }
    return result;
}

bool TBitmap::HasSignature(const QByteArray& bytes) const
{
    return bytes.startsWith("BM");
}

TJPEGImage::TJPEGImage(QObject* parent) : TRasterGraphic("JPEG", parent) {}

bool TJPEGImage::HasSignature(const QByteArray& bytes) const
{
    return bytes.startsWith(QByteArray::fromHex("ffd8ff"));
}

TIcon::TIcon(QObject* parent) : TRasterGraphic("ICO", parent) {}

bool TIcon::HasSignature(const QByteArray& bytes) const
{
    return bytes.startsWith(QByteArray::fromHex("00000100"));
}

// --- TMetafile ------------------------------------------------------------------------

TMetafile::TMetafile(QObject* parent) : TGraphic(parent) {}

bool TMetafile::HasSignature(const QByteArray& bytes)
{
    const bool placeable = bytes.size() >= 4 && qFromLittleEndian<quint32>(bytes.constData()) == 0x9AC6CDD7u;
    const bool enhanced = bytes.size() >= 44 && bytes.mid(40, 4) == " EMF";
    return placeable || enhanced;
}

void TMetafile::LoadFromStream(QIODevice& device)
{
    const QByteArray bytes = device.readAll();
    if (!HasSignature(bytes))
        throw EInvalidGraphic(QStringLiteral("Metafile is not valid"));
    throw EInvalidGraphic(QStringLiteral("Metafiles cannot be shown on this system"));
}

void TMetafile::SaveToStream(QIODevice&) const {}

// --- TPicture ----------------------------------------------------------------------------

TPicture::TPicture(QObject* parent) : TPersistent(parent) {}

TPicture::~TPicture() = default;

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (!graphic) {
        graphic_.reset();
        return;
    }
    std::unique_ptr<TGraphic> copy(
        qobject_cast<TGraphic*>(graphic->metaObject()->newInstance(Q_ARG(QObject*, nullptr))));
    if (!copy)
        throw EInvalidGraphic(QStringLiteral("Cannot copy a %1").arg(graphic->ClassName()));
    copy->Assign(graphic);
    graphic_ = std::move(copy);
}

TBitmap* TPicture::Bitmap()
{
    if (!qobject_cast<TBitmap*>(graphic_.get()))
        graphic_ = std::make_unique<TBitmap>();
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromBytes(const QByteArray& bytes)
{
    std::unique_ptr<TGraphic> graphic = GraphicFor(bytes);
    if (!graphic)
        throw EInvalidGraphic(QStringLiteral("Unknown picture format"));
    LoadGraphic(*graphic, bytes);
    graphic_ = std::move(graphic);
}

void TPicture::LoadFromStream(QIODevice& device)
{
    LoadFromBytes(device.readAll());
}

void TPicture::LoadFromFile(const QString& path)
{
    LoadFromBytes(ReadFileOrRaise(path));
}

void TPicture::SaveToStream(QIODevice& device) const
{
    if (graphic_)
        graphic_->SaveToStream(device);
}

void TPicture::SaveToFile(const QString& path) const
{
    WriteFileOrRaise(path, graphic_ ? Encoded(*graphic_) : QByteArray());
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source) {
        graphic_.reset();
    } else if (const auto* picture = qobject_cast<const TPicture*>(source)) {
        SetGraphic(picture->Graphic());
    } else if (const auto* graphic = qobject_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
    } else if (const auto* field = qobject_cast<const TBlobField*>(source)) {
        const QByteArray bytes = WithoutGraphicHeader(field->AsBytes());
        if (bytes.isEmpty()) {
            graphic_.reset();
        } else if (qobject_cast<const TGraphicField*>(field)) {
            auto bitmap = std::make_unique<TBitmap>();
            LoadGraphic(*bitmap, bytes);
            graphic_ = std::move(bitmap);
        } else {
            LoadFromBytes(bytes);
        }
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::AssignTo(TPersistent* dest) const
{
    auto* field = qobject_cast<TBlobField*>(dest);
    if (!field) {
        TPersistent::AssignTo(dest);
        return;
    }
    if (Empty()) {
        field->Clear();
        return;
    }
    if (qobject_cast<TGraphicField*>(field) && !qobject_cast<const TBitmap*>(graphic_.get())) {
        // Graphic fields hold bitmaps: raster images are converted.
        const auto* raster = qobject_cast<const TRasterGraphic*>(graphic_.get());
        if (!raster)
            throw EInvalidGraphic(QStringLiteral("Only bitmaps can be stored in a graphic field"));
        TBitmap bitmap;
        bitmap.SetImage(raster->Image());
        field->SetAsVariant(Variant(Encoded(bitmap)));
        return;
    }
    field->SetAsVariant(Variant(Encoded(*graphic_)));
}

}  // namespace tk
