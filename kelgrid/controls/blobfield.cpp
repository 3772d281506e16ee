#include "kelgrid/controls/blobfield.h"

#include "kelgrid/controls/graphicclass.h"
#include "toolkit/core/streaming.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/pictures.h"

#include <QBuffer>
#include <memory>

namespace kelgrid {

namespace {

// The value without the header older tables wrote before a graphic.
QByteArray PictureBytes(const QByteArray& value)
{
    return HasLegacyGraphicHeader(value) && value.size() >= LegacyGraphicHeaderSize
               ? value.mid(LegacyGraphicHeaderSize)
               : value;
}

void LoadGraphic(tk::TGraphic& graphic, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    graphic.LoadFromStream(buffer);
}

bool IsExactlyBitmap(const QObject* object)
{
    return object && object->metaObject() == &tk::TBitmap::staticMetaObject;
}

}  // namespace

// --- TKelBlobField -------------------------------------------------------------------

TKelBlobField::TKelBlobField(QObject* owner) : tk::TBlobField(owner) {}

const QMetaObject* TKelBlobField::GraphicClass() const
{
    return FieldGraphicClass(this);
}

void TKelBlobField::LoadFromGraphic(const tk::TGraphic& graphic)
{
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    graphic.SaveToStream(encoded);
    tk::TBlobStream stream(this, tk::bmWrite);
    stream.Write(encoded.data().constData(), encoded.data().size());
    stream.close();
}

void TKelBlobField::SaveToBitmap(tk::TBitmap& bitmap) const
{
    const QByteArray bytes = PictureBytes(AsBytes());
    if (bytes.isEmpty()) {
        bitmap.SetImage(QImage());
        return;
    }
    LoadGraphic(bitmap, bytes);
}

void TKelBlobField::SaveToPicture(tk::TPicture& picture) const
{
    const QByteArray value = AsBytes();
    const QMetaObject* graphicClass = GraphicClassOfValue(value);
    if (!graphicClass)
        return;
    std::unique_ptr<tk::TGraphic> graphic(
        qobject_cast<tk::TGraphic*>(graphicClass->newInstance(Q_ARG(QObject*, nullptr))));
    Q_ASSERT(graphic);
    LoadGraphic(*graphic, PictureBytes(value));
    picture.SetGraphic(graphic.get());
}

void TKelBlobField::Assign(const tk::TPersistent* source)
{
    // The toolkit's blob field takes no graphic itself, so a bitmap is
    // stored like any other graphic: as its own file bytes.
    if (const auto* graphic = qobject_cast<const tk::TGraphic*>(source)) {
        LoadFromGraphic(*graphic);
        return;
    }
    if (const auto* picture = qobject_cast<const tk::TPicture*>(source);
        picture && picture->Graphic() && !IsExactlyBitmap(picture->Graphic())) {
        LoadFromGraphic(*picture->Graphic());
        return;
    }
    tk::TBlobField::Assign(source);
}

void TKelBlobField::AssignTo(tk::TPersistent* dest) const
{
    if (IsExactlyBitmap(dest)) {
        SaveToBitmap(*static_cast<tk::TBitmap*>(dest));
        return;
    }
    if (auto* picture = qobject_cast<tk::TPicture*>(dest)) {
        SaveToPicture(*picture);
        return;
    }
    tk::TBlobField::AssignTo(dest);
}

// --- TKelGraphicField ----------------------------------------------------------------

TKelGraphicField::TKelGraphicField(QObject* owner) : TKelBlobField(owner)
{
    SetDataType(tk::ftGraphic);
}

// --- Registration --------------------------------------------------------------------

namespace {

// Registers the package's field classes for as long as the library is
// loaded. It lives beside the classes so that whatever links them links it.
// At unload every registration goes back to what it was before, so a class
// another module registered under the same name or type is not lost.
class FieldClassRegistration {
    // The names the streaming registry knows the classes by.
    static constexpr QLatin1StringView BlobFieldName{"TKelBlobField"};
    static constexpr QLatin1StringView GraphicFieldName{"TKelGraphicField"};

public:
    FieldClassRegistration()
        : previousGraphicField_(tk::FieldClassFor(tk::ftGraphic)),
          previousBlobStreaming_(tk::FindClass(BlobFieldName)),
          previousGraphicStreaming_(tk::FindClass(GraphicFieldName))
    {
        tk::RegisterClass(&TKelBlobField::staticMetaObject);
        tk::RegisterFieldClass(tk::ftGraphic, &TKelGraphicField::staticMetaObject);  // streaming too
    }
    ~FieldClassRegistration()
    {
        if (tk::FieldClassFor(tk::ftGraphic) == &TKelGraphicField::staticMetaObject && previousGraphicField_)
            tk::RegisterFieldClass(tk::ftGraphic, previousGraphicField_);
        Restore(&TKelBlobField::staticMetaObject, BlobFieldName, previousBlobStreaming_);
        Restore(&TKelGraphicField::staticMetaObject, GraphicFieldName, previousGraphicStreaming_);
    }
    FieldClassRegistration(const FieldClassRegistration&) = delete;
    FieldClassRegistration& operator=(const FieldClassRegistration&) = delete;

private:
    static void Restore(const QMetaObject* ours, QLatin1StringView name, const QMetaObject* previous)
    {
        if (tk::FindClass(name) != ours)
            return;  // someone registered another class since
        if (previous)
            tk::RegisterClass(previous);
        else
            tk::UnRegisterClass(ours);
    }

    const QMetaObject* previousGraphicField_;
    const QMetaObject* previousBlobStreaming_;
    const QMetaObject* previousGraphicStreaming_;
};

const FieldClassRegistration registration;

}  // namespace

}  // namespace kelgrid
