#include "toolkit/core/streaming.h"

#include "toolkit/core/collection.h"
#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/updatelock.h"

#include <QHash>
#include <QIODevice>
#include <QMetaObject>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <vector>

namespace tk {

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsStreamableChild(const QObject* child)
{
    const QString name = child->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

// ---- Writing -----------------------------------------------------------------

TStreamValue ValueOf(const QObject* object, const QMetaProperty& property)
{
    if (property.isFlagType()) {
        QString text = GetPropText(object, property);
        text.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        QStringList names;
        for (const QString& name : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << name.trimmed();
        return TStreamValue::Set(names);
    }
    if (property.isEnumType())
        return TStreamValue::Ident(GetPropText(object, property));
    const QVariant value = property.read(object);
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        return TStreamValue::Ident(value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return TStreamValue::Integer(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return TStreamValue::Float(value.toDouble());
    case QMetaType::QStringList:
        return TStreamValue::Strings(value.toStringList());
    case QMetaType::QByteArray:
        return TStreamValue::Binary(value.toByteArray());
    default:
        break;
    }
    // Values of our own types whose text is a name (a colour such as clRed)
    // are written as identifiers, as enumerations are.
    const QString text = GetPropText(object, property);
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (property.metaType().id() >= QMetaType::User && identifier.match(text).hasMatch())
        return TStreamValue::Ident(text);
    return TStreamValue::String(text);
}

class DefinedPropertyWriter : public TFiler {
public:
    DefinedPropertyWriter(std::vector<TStreamProperty>& out, const QString& prefix) : out_(out), prefix_(prefix) {}
    bool IsWriting() const override { return true; }
    void DefineProperty(const QString& name, const std::function<void(const TStreamValue&)>&,
                        const std::function<TStreamValue()>& write, bool hasData) override
    {
        if (hasData && write)
            out_.push_back({prefix_ + name, write()});
    }

private:
    std::vector<TStreamProperty>& out_;
    QString prefix_;
};

class TreeWriter {
public:
    TStreamObject Write(QObject* object)
    {
        TComponentCore* component = CoreOf(object);
        const bool wasWriting = component && component->HasState(TComponentStateFlag::csWriting);
        if (component)
            component->SetState(TComponentStateFlag::csWriting);
        TStreamObject tree;
        tree.name = object->objectName();
        tree.className = ClassNameOf(object);
        QSet<const QObject*> subObjects;
        try {
            WriteProperties(object, QString(), tree.properties, subObjects);
            for (QObject* child : object->children()) {
                if (IsStreamableChild(child) && !subObjects.contains(child))
                    tree.children.push_back(Write(child));
            }
        } catch (...) {
            if (component && !wasWriting)
                component->SetState(TComponentStateFlag::csWriting, false);
            throw;
        }
        if (component && !wasWriting)
            component->SetState(TComponentStateFlag::csWriting, false);
        return tree;
    }

    static void WriteProperties(QObject* object, const QString& prefix, std::vector<TStreamProperty>& out,
                                QSet<const QObject*>& subObjects)
    {
        for (const QMetaProperty& property : PublishedProperties(object)) {
            if (!IsStoredProp(object, property))
                continue;
            const QString name = prefix + QString::fromLatin1(property.name());
            if (IsObjectProperty(property)) {
                QObject* value = GetObjectProp(object, QString::fromLatin1(property.name()));
                if (!value)
                    continue;
                if (auto* strings = qobject_cast<TStrings*>(value)) {
                    subObjects.insert(value);
                    if (strings->Count() > 0)
                        out.push_back({name + QStringLiteral(".Strings"),
                                       TStreamValue::Strings(strings->ToStringList())});
                } else if (auto* collection = qobject_cast<TCollection*>(value)) {
                    subObjects.insert(value);
                    out.push_back({name, CollectionToValue(collection)});
                } else if (value->parent() == object) {
                    // A sub-object the object owns: its values belong to it.
                    subObjects.insert(value);
                    QSet<const QObject*> nested;
                    WriteProperties(value, name + QLatin1Char('.'), out, nested);
                } else if (!value->objectName().isEmpty()) {
                    out.push_back({name, TStreamValue::Ident(value->objectName())});
                }
                continue;
            }
            if (IsDefaultPropValue(object, property))
                continue;
            out.push_back({name, ValueOf(object, property)});
        }
        if (auto* streamable = dynamic_cast<IStreamable*>(object)) {
            DefinedPropertyWriter filer(out, prefix);
            streamable->DefineProperties(filer);
        }
    }
};

// ---- Reading -------------------------------------------------------------------

// A reference to another component, set once the whole tree is read so that
// it may name a component that comes later in the text.
struct Fixup {
    QPointer<QObject> object;
    QMetaProperty property;
    QString componentName;
};

class DefinedPropertyReader : public TFiler {
public:
    DefinedPropertyReader(const QString& name, const TStreamValue& value) : name_(name), value_(value) {}
    bool IsWriting() const override { return false; }
    void DefineProperty(const QString& name, const std::function<void(const TStreamValue&)>& read,
                        const std::function<TStreamValue()>&, bool) override
    {
        if (found_ || !SameName(name, name_))
            return;
        found_ = true;
        if (read)
            read(value_);
    }
    bool Found() const { return found_; }

private:
    QString name_;
    const TStreamValue& value_;
    bool found_ = false;
};

class TreeReader;
// The reader whose tree is being read on this thread, so that collections
// read through CollectionFromValue defer their references like the rest.
thread_local TreeReader* currentReader = nullptr;

// The outermost owner: up the owners of components, up the Qt parents of
// other objects.
QObject* TopOwner(QObject* object)
{
    while (object) {
        const TComponentCore* core = CoreOf(object);
        QObject* up = core && core->Owner() ? core->Owner()->ComponentObject() : object->parent();
        if (!up)
            break;
        object = up;
    }
    return object;
}

QObject* FindDirectChild(QObject* parent, const QString& name)
{
    for (QObject* child : parent->children())
        if (SameName(child->objectName(), name))
            return child;
    return nullptr;
}

void ApplyProperty(QObject* object, const TStreamProperty& property);

class TreeReader {
public:
    explicit TreeReader(QObject* root) : root_(root) {}

    void Read(const TStreamObject& tree)
    {
        TreeReader* outer = std::exchange(currentReader, this);
        try {
            ReadInto(root_, tree);
            ResolveFixups();
        } catch (...) {
            currentReader = outer;
            for (const QPointer<QObject>& object : loading_) {
                if (TComponentCore* component = object ? CoreOf(object) : nullptr) {
                    component->SetState(TComponentStateFlag::csReading, false);
                    component->SetState(TComponentStateFlag::csLoading, false);
                }
            }
            throw;
        }
        currentReader = outer;
        for (const QPointer<QObject>& object : loading_) {
            if (TComponentCore* component = object ? CoreOf(object) : nullptr) {
                component->SetState(TComponentStateFlag::csReading, false);
                component->Loaded();
            }
        }
    }

    void AddFixup(QObject* object, const QMetaProperty& property, const QString& name)
    {
        fixups_.push_back({object, property, name});
    }

    // References found outside a tree read resolve at once, from the
    // object's top owner.
    static void ResolveNow(QObject* object, const QMetaProperty& property, const QString& name)
    {
        if (QObject* target = FindComponent(TopOwner(object), name))
            property.write(object, QVariant::fromValue(target));
    }

private:
    void ReadInto(QObject* object, const TStreamObject& tree)
    {
        if (TComponentCore* component = CoreOf(object)) {
            component->SetState(TComponentStateFlag::csLoading);
            component->SetState(TComponentStateFlag::csReading);
            loading_.push_back(object);
        }
        for (const TStreamProperty& property : tree.properties)
            ApplyProperty(object, property);
        for (const TStreamObject& childTree : tree.children)
            ReadInto(ChildFor(object, childTree), childTree);
    }

    // The existing child of that name, or a new object of the tree's class
    // under parent; a new component is owned by the root component, as the
    // components of a designed form are.
    QObject* ChildFor(QObject* parent, const TStreamObject& tree)
    {
        if (!tree.name.isEmpty())
            if (QObject* existing = FindDirectChild(parent, tree.name))
                return existing;
        const QMetaObject* metaObject = FindClass(tree.className);
        if (!metaObject)
            throw EReadError(QStringLiteral("Class %1 not found").arg(tree.className));
        QObject* created = metaObject->newInstance(Q_ARG(QObject*, parent));
        if (!created)
            throw EReadError(QStringLiteral("Cannot create an object of class %1").arg(tree.className));
        created->setParent(parent);
        created->setObjectName(tree.name);
        if (TComponentCore* rootCore = CoreOf(root_))
            rootCore->InsertComponent(CoreOf(created));
        return created;
    }

    void ResolveFixups()
    {
        for (const Fixup& fixup : fixups_) {
            if (!fixup.object)
                continue;
            QObject* target = FindComponent(root_, fixup.componentName);
            if (!target)
                target = FindComponent(TopOwner(root_), fixup.componentName);
            if (target)
                fixup.property.write(fixup.object, QVariant::fromValue(target));
        }
    }

    QObject* root_;
    std::vector<Fixup> fixups_;
    std::vector<QPointer<QObject>> loading_;
};

// Gives the value to a property the object defines for itself; false when
// it defines none of that name.
bool ApplyDefinedProperty(QObject* object, const QString& name, const TStreamValue& value)
{
    auto* streamable = dynamic_cast<IStreamable*>(object);
    if (!streamable)
        return false;
    DefinedPropertyReader filer(name, value);
    streamable->DefineProperties(filer);
    return filer.Found();
}

void ApplyObjectValue(QObject* target, const QMetaProperty& property, const TStreamValue& value)
{
    QObject* current = GetObjectProp(target, QString::fromLatin1(property.name()));
    if (auto* collection = qobject_cast<TCollection*>(current); collection && value.kind == TStreamValue::Kind::Collection) {
        CollectionFromValue(collection, value);
    } else if (auto* strings = qobject_cast<TStrings*>(current); strings && value.kind == TStreamValue::Kind::List) {
        strings->SetStrings(value.ToStrings());
    } else if (value.kind == TStreamValue::Kind::Ident) {
        if (currentReader)
            currentReader->AddFixup(target, property, value.text);
        else
            TreeReader::ResolveNow(target, property, value.text);
    } else {
        throw EPropertyError(QStringLiteral("Invalid property value"));
    }
}

void ApplyPropertyTo(QObject* object, const TStreamProperty& property)
{
    QStringList segments = property.name.split(QLatin1Char('.'));
    const QString last = segments.takeLast();
    QObject* target = object;
    for (const QString& segment : segments) {
        const QMetaProperty step = FindPublishedProperty(target, segment);
        QObject* next = step.isValid() && IsObjectProperty(step) ? GetObjectProp(target, segment) : nullptr;
        if (!next) {
            // Not a path of sub-objects: perhaps a value the object defines.
            ApplyDefinedProperty(object, property.name, property.value);
            return;
        }
        target = next;
    }
    if (auto* strings = qobject_cast<TStrings*>(target); strings && SameName(last, QStringLiteral("Strings"))) {
        strings->SetStrings(property.value.ToStrings());
        return;
    }
    const QMetaProperty published = FindPublishedProperty(target, last);
    if (!published.isValid()) {
        ApplyDefinedProperty(target, last, property.value);  // unknown names are skipped
        return;
    }
    if (IsObjectProperty(published)) {
        ApplyObjectValue(target, published, property.value);
    } else if (property.value.kind == TStreamValue::Kind::Binary &&
               published.metaType().id() == QMetaType::QByteArray) {
        SetPropValue(target, last, property.value.binary);
    } else {
        SetPropText(target, published, property.value.ToText());
    }
}

void ApplyProperty(QObject* object, const TStreamProperty& property)
{
    try {
        ApplyPropertyTo(object, property);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        const QString owner = object->objectName().isEmpty() ? ClassNameOf(object) : object->objectName();
        throw EReadError(QStringLiteral("Error reading %1.%2: %3").arg(owner, property.name, e.Message()));
    }
}

// ---- Class registry -------------------------------------------------------------

struct ClassRegistry {
    QMutex mutex;
    QHash<QString, const QMetaObject*> classes;  // lower-case name without namespace
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

QString RegistryKey(const QMetaObject* metaObject)
{
    QString name = QString::fromLatin1(metaObject->className());
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0)
        name = name.mid(colon + 1);
    return name.toLower();
}

}  // namespace

TStreamObject WriteObjectTree(QObject* root)
{
    return TreeWriter().Write(root);
}

QString ObjectToText(QObject* root)
{
    return PrintStreamText(WriteObjectTree(root));
}

void WriteObjectToStream(QIODevice& device, QObject* root)
{
    const QByteArray bytes = ObjectToText(root).toUtf8();
    if (device.write(bytes) != bytes.size())
        throw EStreamError(QStringLiteral("Stream write error: %1").arg(device.errorString()));
}

void ReadObjectTree(QObject* root, const TStreamObject& tree)
{
    TreeReader(root).Read(tree);
}

void ObjectFromText(QObject* root, const QString& text)
{
    ReadObjectTree(root, ParseStreamText(text));
}

void ReadObjectFromStream(QIODevice& device, QObject* root)
{
    QString text = QString::fromUtf8(device.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    ObjectFromText(root, text);
}

TStreamValue CollectionToValue(TCollection* collection)
{
    TStreamValue value = TStreamValue::EmptyCollection();
    for (int i = 0; i < collection->Count(); ++i) {
        std::vector<TStreamProperty> item;
        QSet<const QObject*> subObjects;
        TreeWriter::WriteProperties(collection->Items(i), QString(), item, subObjects);
        value.items.push_back(std::move(item));
    }
    return value;
}

void CollectionFromValue(TCollection* collection, const TStreamValue& value)
{
    TUpdateLock lock(*collection);
    collection->Clear();
    for (const auto& itemProperties : value.items) {
        TCollectionItem* item = collection->Add();
        for (const TStreamProperty& property : itemProperties)
            ApplyProperty(item, property);
    }
}

void RegisterClass(const QMetaObject* metaObject)
{
    ClassRegistry& registry = Registry();
    QMutexLocker lock(&registry.mutex);
    registry.classes.insert(RegistryKey(metaObject), metaObject);
}

void UnRegisterClass(const QMetaObject* metaObject)
{
    ClassRegistry& registry = Registry();
    QMutexLocker lock(&registry.mutex);
    registry.classes.remove(RegistryKey(metaObject));
}

const QMetaObject* FindClass(const QString& className)
{
    ClassRegistry& registry = Registry();
    QMutexLocker lock(&registry.mutex);
    return registry.classes.value(className.toLower(), nullptr);
}

}  // namespace tk
