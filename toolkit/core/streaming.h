#pragma once
// Writes an object tree's stored published properties to the readable text
// form of streamvalue.h and reads it back into objects.
//
// Written: every published property that IsStoredProp allows and that does
// not hold its default; sub-objects the object owns (a Font) as dotted
// names ("Font.Name = 'Tahoma'"), string lists as "Items.Strings = (...)",
// collections as "Columns = < item ... end >", references to other
// components by name, named child objects as nested "object" blocks.
// Read: the same; unknown properties are skipped (a newer writer may know
// more), a value a property rejects raises EReadError "Error reading
// <object>.<property>: <reason>". Components read are flagged csLoading and
// csReading and get Loaded() once the whole tree is in.

#include "toolkit/core/streamvalue.h"

#include <QString>
#include <functional>

class QIODevice;
class QMetaObject;
class QObject;

namespace tk {

class TCollection;

// Handed to IStreamable::DefineProperties: the object declares values that
// are not published properties (or that it writes in its own way).
class TFiler {
public:
    virtual ~TFiler() = default;
    virtual bool IsWriting() const = 0;
    bool IsReading() const { return !IsWriting(); }
    // read receives the value when the stream has one of that name; write
    // gives the value to store, asked only when hasData is true.
    virtual void DefineProperty(const QString& name, const std::function<void(const TStreamValue&)>& read,
                                const std::function<TStreamValue()>& write, bool hasData) = 0;
};

// Implemented (besides QObject) by classes that stream extra values.
class IStreamable {
public:
    virtual ~IStreamable() = default;
    virtual void DefineProperties(TFiler& filer) = 0;
};

TStreamObject WriteObjectTree(QObject* root);
QString ObjectToText(QObject* root);
// UTF-8 text; EStreamError when the device cannot be written.
void WriteObjectToStream(QIODevice& device, QObject* root);

void ReadObjectTree(QObject* root, const TStreamObject& tree);
void ObjectFromText(QObject* root, const QString& text);
void ReadObjectFromStream(QIODevice& device, QObject* root);

// A collection's items as a stream value and back (for DefineProperties).
TStreamValue CollectionToValue(TCollection* collection);
void CollectionFromValue(TCollection* collection, const TStreamValue& value);

// Classes that reading may create for "object Name: TClass" blocks that the
// parent does not already hold. The class needs an invokable constructor
// taking the owner (QObject*).
void RegisterClass(const QMetaObject* metaObject);
void UnRegisterClass(const QMetaObject* metaObject);
// By class name without namespace ("TButton"), any case; nullptr when absent.
const QMetaObject* FindClass(const QString& className);

}  // namespace tk
