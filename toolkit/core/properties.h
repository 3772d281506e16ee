#pragma once
// Published properties by name: the one reflection layer of the toolkit.
// Streaming, the language manager and layout persistence read and set
// properties only through these functions.
//
// What is published: every Q_PROPERTY of the object's class and its bases
// except QObject's own objectName (components publish Name themselves).
// Names are looked up ASCII-case-insensitively, the most derived class first,
// so a subclass that declares a property with the name of a base property
// hides the base one. Enumerations are Q_ENUMs (text: the key name), sets are
// Q_FLAGs (text: "[fsBold,fsItalic]"), sub-objects are properties whose type
// is a pointer to a QObject subclass.
//
// How a class states streaming rules (Qt's STORED takes no function):
//   - Q_PROPERTY(... STORED false) never stores the property.
//   - A method `Q_INVOKABLE bool Is<Name>Stored() const` (exact property
//     name) decides at run time whether a STORED property is stored, e.g.
//     IsFontStored() returns false while ParentFont is on.
//   - Q_CLASSINFO("Default:<Name>", "<text>") gives the property's default
//     value in the property's text form; streaming omits a property that
//     holds its default. The most derived class's entry wins.

#include <QList>
#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

namespace tk {

class TCollection;
class TCollectionItem;

// --- Lookup -----------------------------------------------------------------

// The published property called name (any case); invalid when there is none.
QMetaProperty FindPublishedProperty(const QObject* object, const QString& name);
// Published properties are those our classes declare; Qt's own classes'
// (QWidget's geometry...) are not published.
// All published properties in declaration order, base classes first. A name
// re-declared by a subclass appears once, as the subclass's property, at the
// base property's position.
QList<QMetaProperty> PublishedProperties(const QObject* object);
// True when the property's type is a pointer to a QObject subclass.
bool IsObjectProperty(const QMetaProperty& property);

// --- Values -----------------------------------------------------------------
// Errors: EPropertyError "Property <name> does not exist",
// "Property <name> is read-only", "Invalid property value".

QVariant GetPropValue(const QObject* object, const QString& name);
void SetPropValue(QObject* object, const QString& name, const QVariant& value);

// The property as text: enumerations by key name, sets as "[a,b]" in
// declaration order, bool as "True"/"False", numbers in decimal (doubles with
// '.' and as few digits as give the same value back), QStringList and
// string-list objects as lines each followed by CR LF, other objects by their
// name.
QString GetPropText(const QObject* object, const QString& name);
QString GetPropText(const QObject* object, const QMetaProperty& property);
// Sets the property from text, converted to the property's type: integers in
// decimal or hex ("$1F", "0x1F", optionally negative), doubles with '.',
// bool from "True"/"False" (any case) or "1"/"0", QChar from the first
// character, enumerations from a key name (any case) or a number, sets from
// "[a, b]" (brackets optional, "[]" is empty), QStringList from lines. A
// property holding a TStrings takes the text as its Text. Bad numbers raise
// EConvertError "'<text>' is not a valid integer value" or "... floating
// point value"; other bad text raises EPropertyError "Invalid property value".
void SetPropText(QObject* object, const QString& name, const QString& text);
void SetPropText(QObject* object, const QMetaProperty& property, const QString& text);

// The conversions SetPropText and GetPropText use, without an object.
QVariant PropValueFromText(const QMetaProperty& property, const QString& text);
QString PropValueToText(const QMetaProperty& property, const QVariant& value);

// The object an object-valued property holds (nullptr when it holds none).
// Raises EPropertyError when the property does not exist or does not hold
// objects.
QObject* GetObjectProp(const QObject* object, const QString& name);

// Copies the published writable stored properties that dest's class
// publishes from source (which must have them too: the same class or a
// subclass). Sub-objects owned by dest that are TPersistent (not components)
// copy themselves with Assign; other object properties copy the reference.
// A component's Name is not copied.
void AssignPublishedProperties(QObject* dest, const QObject* source);

// --- Collections and paths --------------------------------------------------

// The item whose ID is n; else, when 0 <= n < Count, the item at index n;
// else nullptr.
TCollectionItem* CollectionItemByIdOrIndex(TCollection* collection, int n);

struct TPropertyTarget {
    QObject* object = nullptr;
    QString property;
};

// Resolves "seg.seg...prop" from root. The first segment is "self" (root
// itself, any case), else a component owned by root (FindComponent), else an
// object-valued property of root; each further segment but the last is an
// object-valued property of the object reached so far. A segment may end in
// "[n]" when its object is a collection, picking the item with ID n, else
// the item at index n. The last segment is the property name; a path of one
// segment names a property of root.
// Returns object == nullptr when a component or object on the way is missing
// or empty (callers skip such paths). Raises EPropertyError when a property
// on the way does not exist or holds no objects, an index is not a number or
// names no item, the object is no collection, or the path is malformed.
TPropertyTarget ResolvePropertyPath(QObject* root, const QString& path);
// SetPropText on the resolved target; false (and nothing set) when the
// target object is missing.
bool SetPropertyPath(QObject* root, const QString& path, const QString& text);
// GetPropText of the resolved target; empty when the target object is
// missing.
QString GetPropertyPath(QObject* root, const QString& path);

// --- Streaming rules (see the convention at the top) -------------------------

// STORED is true, Is<Name>Stored() (when the class has it) returns true, and
// the property is writable or holds an object.
bool IsStoredProp(const QObject* object, const QMetaProperty& property);
// The "Default:<Name>" class info text of the property, most derived first.
std::optional<QString> PropertyDefaultText(const QObject* object, const QMetaProperty& property);
// True when the property has a default and holds it. Both sides are compared
// in the property's type, so "1.0" equals 1 and "$10" equals 16.
bool IsDefaultPropValue(const QObject* object, const QMetaProperty& property);

}  // namespace tk
