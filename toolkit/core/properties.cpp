#include "toolkit/core/properties.h"

#include "toolkit/core/collection.h"
#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/textfile.h"

#include <QByteArray>
#include <QHash>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaType>
#include <QStringList>
#include <cctype>
#include <cstring>
#include <charconv>
#include <limits>

namespace tk {

namespace {

[[noreturn]] void RaiseInvalidValue()
{
    throw EPropertyError(QStringLiteral("Invalid property value"));
}

QMetaProperty RequireProperty(const QObject* object, const QString& name)
{
    const QMetaProperty property = FindPublishedProperty(object, name);
    if (!property.isValid())
        throw EPropertyError(QStringLiteral("Property %1 does not exist").arg(name));
    return property;
}

QString PropertyName(const QMetaProperty& property)
{
    return QString::fromLatin1(property.name());
}

// --- Integers -----------------------------------------------------------

// An integer as written: decimal, "$1F" or "0x1F", with an optional sign.
struct TIntegerText {
    bool negative = false;
    quint64 magnitude = 0;
};

std::optional<TIntegerText> ParseIntegerText(const QString& text)
{
    QStringView rest = QStringView(text).trimmed();
    TIntegerText result;
    if (rest.startsWith(u'-') || rest.startsWith(u'+')) {
        result.negative = rest.front() == u'-';
        rest = rest.mid(1);
    }
    int base = 10;
    if (rest.startsWith(u'$')) {
        base = 16;
        rest = rest.mid(1);
    } else if (rest.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        rest = rest.mid(2);
    }
    if (rest.isEmpty())
        return std::nullopt;
    for (QChar c : rest) {
        const bool digit = c.unicode() < 128 && (base == 10 ? isdigit(c.unicode()) : isxdigit(c.unicode()));
        if (!digit)
            return std::nullopt;
    }
    bool ok = false;
    result.magnitude = rest.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    return result;
}

bool IsSignedIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char:
        return true;
    default:
        return false;
    }
}

bool IsUnsignedIntegerType(int id)
{
    switch (id) {
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void RaiseInvalidInteger(const QString& text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QVariant IntegerFromText(QMetaType type, const QString& text)
{
    const std::optional<TIntegerText> parsed = ParseIntegerText(text);
    if (!parsed)
        RaiseInvalidInteger(text);
    const int bits = static_cast<int>(type.sizeOf()) * 8;
    QVariant value;
    if (IsSignedIntegerType(type.id())) {
        const quint64 limit = quint64(1) << (bits - 1);  // |min|; max is limit - 1
        if (parsed->magnitude > (parsed->negative ? limit : limit - 1))
            RaiseInvalidInteger(text);
        const qint64 signedValue =
            parsed->negative ? qint64(0 - parsed->magnitude) : static_cast<qint64>(parsed->magnitude);
        value = QVariant::fromValue(signedValue);
    } else {
        const quint64 max = bits >= 64 ? std::numeric_limits<quint64>::max() : (quint64(1) << bits) - 1;
        if ((parsed->negative && parsed->magnitude != 0) || parsed->magnitude > max)
            RaiseInvalidInteger(text);
        value = QVariant::fromValue(parsed->magnitude);
    }
    if (!value.convert(type))
        RaiseInvalidInteger(text);
    return value;
}

// --- Floating point -------------------------------------------------------

QVariant FloatFromText(QMetaType type, const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    if (type.id() == QMetaType::Float)
        return QVariant::fromValue(static_cast<float>(value));
    return QVariant::fromValue(value);
}

// The shortest decimal text that reads back as the same value.
template <typename Float> QString FloatToText(Float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// --- Enumerations and sets ------------------------------------------------

// Builds a value of an enumeration or flags type from its integer value,
// whatever the width of the type.
QVariant EnumVariant(QMetaType type, qint64 value)
{
    QVariant variant(type);
    void* data = variant.data();
    switch (type.sizeOf()) {
    case 1:
        *static_cast<qint8*>(data) = static_cast<qint8>(value);
        break;
    case 2:
        *static_cast<qint16*>(data) = static_cast<qint16>(value);
        break;
    case 8:
        *static_cast<qint64*>(data) = value;
        break;
    default:
        *static_cast<qint32*>(data) = static_cast<qint32>(value);
        break;
    }
    return variant;
}

qint64 EnumValue(const QVariant& variant)
{
    const void* data = variant.constData();
    switch (variant.metaType().sizeOf()) {
    case 1:
        return *static_cast<const qint8*>(data);
    case 2:
        return *static_cast<const qint16*>(data);
    case 8:
        return *static_cast<const qint64*>(data);
    default:
        return *static_cast<const qint32*>(data);
    }
}

std::optional<int> EnumKeyValue(const QMetaEnum& enumerator, QStringView name)
{
    for (int i = 0; i < enumerator.keyCount(); ++i) {
        if (name.compare(QLatin1String(enumerator.key(i)), Qt::CaseInsensitive) == 0)
            return enumerator.value(i);
    }
    return std::nullopt;
}

qint64 EnumFromText(const QMetaEnum& enumerator, const QString& text)
{
    const QString name = text.trimmed();
    if (const std::optional<int> value = EnumKeyValue(enumerator, name))
        return *value;
    const std::optional<TIntegerText> number = ParseIntegerText(name);
    if (number && number->magnitude <= quint64(std::numeric_limits<int>::max())) {
        const int value = number->negative ? -int(number->magnitude) : int(number->magnitude);
        if (enumerator.valueToKey(value))
            return value;
    }
    RaiseInvalidValue();
}

QString EnumToText(const QMetaEnum& enumerator, qint64 value)
{
    const char* key = enumerator.valueToKey(static_cast<int>(value));
    return key ? QString::fromLatin1(key) : QString::number(value);
}

bool IsSingleBit(quint32 value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

qint64 SetFromText(const QMetaEnum& enumerator, const QString& text)
{
    QStringView inner = QStringView(text).trimmed();
    const bool opens = inner.startsWith(u'[');
    const bool closes = inner.endsWith(u']');
    if (opens != closes)
        RaiseInvalidValue();
    if (opens)
        inner = inner.mid(1, inner.size() - 2).trimmed();
    if (inner.isEmpty())
        return 0;
    quint32 bits = 0;
    for (QStringView element : inner.split(u',')) {
        const std::optional<int> value = EnumKeyValue(enumerator, element.trimmed());
        if (!value)
            RaiseInvalidValue();
        bits |= static_cast<quint32>(*value);
    }
    return static_cast<qint32>(bits);
}

// Elements in declaration order; keys that combine several bits are
// shorthands and are not listed.
QString SetToText(const QMetaEnum& enumerator, qint64 value)
{
    quint32 remaining = static_cast<quint32>(value);
    QStringList names;
    for (int i = 0; i < enumerator.keyCount(); ++i) {
        const quint32 bit = static_cast<quint32>(enumerator.value(i));
        if (IsSingleBit(bit) && (remaining & bit)) {
            names << QString::fromLatin1(enumerator.key(i));
            remaining &= ~bit;
        }
    }
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
}

// --- Other types ----------------------------------------------------------

bool BoolFromText(const QString& text)
{
    const QString value = text.trimmed();
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || value == QLatin1String("1"))
        return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || value == QLatin1String("0"))
        return false;
    RaiseInvalidValue();
}

QString ObjectToText(const QObject* object)
{
    if (!object)
        return QString();
    if (const auto* strings = qobject_cast<const TStrings*>(object))
        return strings->Text();
    return object->objectName();
}

// The object an object-valued property of object holds; raises when the
// property is missing or holds no objects.
QObject* ObjectPropertyValue(const QObject* object, const QMetaProperty& property)
{
    if (!IsObjectProperty(property)) {
        throw EPropertyError(
            QStringLiteral("Property %1 is not an object property").arg(PropertyName(property)));
    }
    return property.read(object).value<QObject*>();
}

void CheckWritable(const QMetaProperty& property)
{
    if (!property.isWritable())
        throw EPropertyError(QStringLiteral("Property %1 is read-only").arg(PropertyName(property)));
}

void WriteProperty(QObject* object, const QMetaProperty& property, const QVariant& value)
{
    CheckWritable(property);
    if (!property.write(object, value))
        RaiseInvalidValue();
}

// --- Paths ----------------------------------------------------------------

struct TPathSegment {
    QString name;
    std::optional<QString> index;  // the text between brackets, when given
};

[[noreturn]] void RaiseInvalidPath(const QString& path)
{
    throw EPropertyError(QStringLiteral("Invalid property path '%1'").arg(path));
}

TPathSegment ParseSegment(const QString& segment, const QString& path)
{
    const qsizetype open = segment.indexOf(QLatin1Char('['));
    if (open < 0) {
        if (segment.contains(QLatin1Char(']')))
            RaiseInvalidPath(path);
        return {segment, std::nullopt};
    }
    if (open == 0 || !segment.endsWith(QLatin1Char(']')))
        RaiseInvalidPath(path);
    return {segment.left(open), segment.mid(open + 1, segment.size() - open - 2)};
}

QObject* PickCollectionItem(QObject* object, const TPathSegment& segment)
{
    auto* collection = qobject_cast<TCollection*>(object);
    if (!collection)
        throw EPropertyError(QStringLiteral("%1 is not a collection").arg(segment.name));
    bool ok = false;
    const int n = segment.index->trimmed().toInt(&ok);
    if (!ok)
        throw EPropertyError(
            QStringLiteral("'%1' is not a valid index of %2").arg(*segment.index, segment.name));
    TCollectionItem* item = CollectionItemByIdOrIndex(collection, n);
    if (!item)
        throw EPropertyError(QStringLiteral("%1 has no item %2").arg(segment.name).arg(n));
    return item;
}

}  // namespace

// --- Lookup -------------------------------------------------------------------

namespace {

// Qt's own classes (QWidget's geometry, QFrame's frameShape...) declare
// properties for Qt; a control publishes its classic names itself, so only
// our classes' properties are published.
bool IsQtClass(const QMetaObject* metaObject)
{
    const char* name = metaObject ? metaObject->className() : "";
    return name[0] == 'Q' && !std::strchr(name, ':');
}

}  // namespace

QMetaProperty FindPublishedProperty(const QObject* object, const QString& name)
{
    if (!object || name.isEmpty())
        return QMetaProperty();
    const QMetaObject* metaObject = object->metaObject();
    // QObject's own properties (objectName) come first; neither they nor
    // other Qt classes' are published.
    const int first = QObject::staticMetaObject.propertyCount();
    for (int i = metaObject->propertyCount() - 1; i >= first; --i) {
        const QMetaProperty property = metaObject->property(i);
        if (IsQtClass(property.enclosingMetaObject()))
            continue;
        if (name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0)
            return property;
    }
    return QMetaProperty();
}

QList<QMetaProperty> PublishedProperties(const QObject* object)
{
    QList<QMetaProperty> properties;
    if (!object)
        return properties;
    QHash<QString, qsizetype> positions;  // lower-case name -> index in properties
    const QMetaObject* metaObject = object->metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        if (IsQtClass(property.enclosingMetaObject()))
            continue;
        const QString key = QString::fromLatin1(property.name()).toLower();
        const auto found = positions.constFind(key);
        if (found != positions.constEnd()) {
            properties[*found] = property;
        } else {
            positions.insert(key, properties.size());
            properties << property;
        }
    }
    return properties;
}

bool IsObjectProperty(const QMetaProperty& property)
{
    return property.isValid() && property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

// --- Values -------------------------------------------------------------------

QVariant GetPropValue(const QObject* object, const QString& name)
{
    return RequireProperty(object, name).read(object);
}

void SetPropValue(QObject* object, const QString& name, const QVariant& value)
{
    WriteProperty(object, RequireProperty(object, name), value);
}

QString GetPropText(const QObject* object, const QString& name)
{
    return GetPropText(object, RequireProperty(object, name));
}

QString GetPropText(const QObject* object, const QMetaProperty& property)
{
    return PropValueToText(property, property.read(object));
}

void SetPropText(QObject* object, const QString& name, const QString& text)
{
    SetPropText(object, RequireProperty(object, name), text);
}

void SetPropText(QObject* object, const QMetaProperty& property, const QString& text)
{
    if (IsObjectProperty(property)) {
        // A string list property is set through its lines, not replaced.
        auto* strings = qobject_cast<TStrings*>(property.read(object).value<QObject*>());
        if (!strings)
            RaiseInvalidValue();
        strings->SetText(text);
        return;
    }
    // Read-only is reported before anything about the text.
    CheckWritable(property);
    WriteProperty(object, property, PropValueFromText(property, text));
}

QVariant PropValueFromText(const QMetaProperty& property, const QString& text)
{
    const QMetaType type = property.metaType();
    if (property.isFlagType())
        return EnumVariant(type, SetFromText(property.enumerator(), text));
    if (property.isEnumType())
        return EnumVariant(type, EnumFromText(property.enumerator(), text));
    const int id = type.id();
    if (IsSignedIntegerType(id) || IsUnsignedIntegerType(id))
        return IntegerFromText(type, text);
    switch (id) {
    case QMetaType::QString:
        return text;
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatFromText(type, text);
    case QMetaType::Bool:
        return BoolFromText(text);
    case QMetaType::QChar:
        return QVariant::fromValue(text.isEmpty() ? QChar() : text.front());
    case QMetaType::QStringList:
        return SplitLines(text);
    default:
        break;
    }
    if (IsObjectProperty(property))
        RaiseInvalidValue();
    QVariant value(text);
    if (!value.convert(type))
        RaiseInvalidValue();
    return value;
}

QString PropValueToText(const QMetaProperty& property, const QVariant& value)
{
    if (property.isFlagType())
        return SetToText(property.enumerator(), EnumValue(value));
    if (property.isEnumType())
        return EnumToText(property.enumerator(), EnumValue(value));
    const int id = property.metaType().id();
    if (IsSignedIntegerType(id))
        return QString::number(value.toLongLong());
    if (IsUnsignedIntegerType(id))
        return QString::number(value.toULongLong());
    switch (id) {
    case QMetaType::Double:
        return FloatToText(value.toDouble());
    case QMetaType::Float:
        return FloatToText(value.toFloat());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QChar: {
        const QChar c = value.value<QChar>();
        return c.isNull() ? QString() : QString(c);
    }
    case QMetaType::QStringList:
        return JoinLines(value.toStringList());
    default:
        break;
    }
    if (IsObjectProperty(property))
        return ObjectToText(value.value<QObject*>());
    return value.toString();
}

QObject* GetObjectProp(const QObject* object, const QString& name)
{
    return ObjectPropertyValue(object, RequireProperty(object, name));
}

void AssignPublishedProperties(QObject* dest, const QObject* source)
{
    if (!dest || !source || !source->metaObject()->inherits(dest->metaObject())) {
        throw EConvertError(
            QStringLiteral("Cannot assign a %1 to a %2").arg(ClassNameOf(source), ClassNameOf(dest)));
    }
    const bool isComponent = CoreOf(dest) != nullptr;
    for (const QMetaProperty& property : PublishedProperties(dest)) {
        if (!property.isStored())
            continue;
        if (isComponent && qstrcmp(property.name(), "Name") == 0)
            continue;
        if (IsObjectProperty(property)) {
            auto* ownPart = qobject_cast<TPersistent*>(property.read(dest).value<QObject*>());
            if (ownPart && !CoreOf(ownPart)) {
                // A sub-object of dest: copy its content, keep the object.
                auto* sourcePart = qobject_cast<const TPersistent*>(property.read(source).value<QObject*>());
                if (sourcePart)
                    ownPart->Assign(sourcePart);
                continue;
            }
        }
        if (property.isWritable())
            WriteProperty(dest, property, property.read(source));
    }
}

// --- Collections and paths ----------------------------------------------------

TCollectionItem* CollectionItemByIdOrIndex(TCollection* collection, int n)
{
    if (!collection)
        return nullptr;
    if (TCollectionItem* item = collection->FindItemID(n))
        return item;
    if (n >= 0 && n < collection->Count())
        return collection->Items(n);
    return nullptr;
}

TPropertyTarget ResolvePropertyPath(QObject* root, const QString& path)
{
    const QStringList segments = path.split(QLatin1Char('.'));
    for (const QString& segment : segments) {
        if (segment.isEmpty())
            RaiseInvalidPath(path);
    }
    const QString& last = segments.last();
    if (last.contains(QLatin1Char('[')) || last.contains(QLatin1Char(']')))
        RaiseInvalidPath(path);
    if (!root)
        return {nullptr, last};

    QObject* current = root;
    for (qsizetype i = 0; i + 1 < segments.size(); ++i) {
        const TPathSegment segment = ParseSegment(segments[i], path);
        if (i == 0) {
            if (segment.name.compare(QLatin1String("self"), Qt::CaseInsensitive) == 0) {
                current = root;
            } else if (QObject* component = FindComponent(root, segment.name)) {
                current = component;
            } else {
                const QMetaProperty property = FindPublishedProperty(root, segment.name);
                // Neither a component nor a property: a component this form
                // does not have (any more), which callers skip.
                if (!property.isValid())
                    return {nullptr, last};
                current = ObjectPropertyValue(root, property);
            }
        } else {
            current = ObjectPropertyValue(current, RequireProperty(current, segment.name));
        }
        if (!current)
            return {nullptr, last};
        if (segment.index)
            current = PickCollectionItem(current, segment);
    }
    return {current, last};
}

bool SetPropertyPath(QObject* root, const QString& path, const QString& text)
{
    const TPropertyTarget target = ResolvePropertyPath(root, path);
    if (!target.object)
        return false;
    SetPropText(target.object, target.property, text);
    return true;
}

QString GetPropertyPath(QObject* root, const QString& path)
{
    const TPropertyTarget target = ResolvePropertyPath(root, path);
    return target.object ? GetPropText(target.object, target.property) : QString();
}

// --- Streaming rules ----------------------------------------------------------

bool IsStoredProp(const QObject* object, const QMetaProperty& property)
{
    if (!object || !property.isValid() || !property.isStored())
        return false;
    if (!property.isWritable() && !IsObjectProperty(property))
        return false;
    const QMetaObject* metaObject = object->metaObject();
    const QByteArray signature = QByteArray("Is") + property.name() + "Stored()";
    const int index = metaObject->indexOfMethod(signature.constData());
    if (index < 0)
        return true;
    const QMetaMethod method = metaObject->method(index);
    if (method.returnMetaType() != QMetaType::fromType<bool>())
        return true;
    bool stored = true;
    method.invoke(const_cast<QObject*>(object), Qt::DirectConnection, Q_RETURN_ARG(bool, stored));
    return stored;
}

std::optional<QString> PropertyDefaultText(const QObject* object, const QMetaProperty& property)
{
    if (!object || !property.isValid())
        return std::nullopt;
    const QMetaObject* metaObject = object->metaObject();
    const QByteArray key = QByteArray("Default:") + property.name();
    const int index = metaObject->indexOfClassInfo(key.constData());
    if (index < 0)
        return std::nullopt;
    return QString::fromUtf8(metaObject->classInfo(index).value());
}

bool IsDefaultPropValue(const QObject* object, const QMetaProperty& property)
{
    const std::optional<QString> defaultText = PropertyDefaultText(object, property);
    if (!defaultText)
        return false;
    const QString current = GetPropText(object, property);
    if (IsObjectProperty(property))
        return current == *defaultText;
    // Compare in the property's own terms: "1.0" is 1, "$10" is 16.
    return current == PropValueToText(property, PropValueFromText(property, *defaultText));
}

}  // namespace tk
