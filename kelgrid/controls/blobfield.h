#pragma once
// TKelBlobField, a blob field that takes pictures and graphics of any
// format and gives them back, and TKelGraphicField, the same for ftGraphic
// fields.
//
// A value is the picture's own file bytes (graphicclass.h tells the format,
// skipping the 8-byte header older tables wrote). Storing writes the
// graphic's own format with no header; reading skips the header when the
// value has one.
//
// Both classes are registered for streaming while the library is loaded,
// and TKelGraphicField is the class datasets make for ftGraphic fields
// (tk::CreateFieldForDef); unloading the library gives ftGraphic back to the
// class that had it before.
//
// Note: tk::TPicture::Assign(field) reads any blob field by itself; the
// reading of this class (header, signature table, unknown formats leaving
// the picture as it was) is field->AssignTo(picture) or SaveToPicture.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/fields.h"

struct QMetaObject;

namespace tk {
class TBitmap;
class TGraphic;
class TPicture;
}  // namespace tk

namespace kelgrid {

class KELGRID_EXPORT TKelBlobField : public tk::TBlobField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKelBlobField(QObject* owner = nullptr);

    // The picture class of the current value (FieldGraphicClass), nullptr
    // when it is none of the known formats.
    const QMetaObject* GraphicClass() const;

    // Stores graphic in its own file format. The graphic is encoded before
    // the value is touched, so an encoding failure leaves the value as it
    // was. EDatabaseError when the dataset is not editing or the field is
    // read-only (nothing changes then).
    void LoadFromGraphic(const tk::TGraphic& graphic);
    // Loads the value (after the header, when there is one) into bitmap; an
    // empty value empties it. EInvalidGraphic when the bytes are not a
    // bitmap (the bitmap is unchanged then).
    void SaveToBitmap(tk::TBitmap& bitmap) const;
    // Gives picture a graphic of the value's class loaded from the value;
    // leaves it unchanged for a value of no known format. The graphic's
    // errors pass on (a metafile: EInvalidGraphic, as nothing here renders
    // one) and leave the picture unchanged.
    void SaveToPicture(tk::TPicture& picture) const;

    // A graphic is stored with LoadFromGraphic (a bitmap too, as its own
    // file bytes); a picture holding a graphic other than a bitmap stores
    // that graphic; anything else (pictures of bitmaps, empty pictures)
    // goes to the inherited assignment.
    void Assign(const tk::TPersistent* source) override;
    // Exactly a TBitmap gets SaveToBitmap, a picture SaveToPicture; others
    // go to the inherited assignment (EConvertError).
    void AssignTo(tk::TPersistent* dest) const override;
};

class KELGRID_EXPORT TKelGraphicField : public TKelBlobField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKelGraphicField(QObject* owner = nullptr);

protected:
    QString Description() const override { return QStringLiteral("GRAPHIC"); }
};

}  // namespace kelgrid
