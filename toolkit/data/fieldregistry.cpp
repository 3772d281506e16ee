// Which field class stands for which field type, and the factory the
// dataset makes its default fields with.

#include "toolkit/core/exceptions.h"
#include "toolkit/core/streaming.h"
#include "toolkit/data/field.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/recordsource.h"

#include <QHash>
#include <QMetaObject>
#include <memory>

namespace tk {

namespace {

QHash<int, const QMetaObject*> BuiltInClasses()
{
    QHash<int, const QMetaObject*> classes;
    const auto map = [&classes](std::initializer_list<TFieldType> types, const QMetaObject* meta) {
        for (const TFieldType type : types)
            classes.insert(type, meta);
    };
    map({ftString, ftFixedChar, ftGuid}, &TStringField::staticMetaObject);
    map({ftWideString, ftFixedWideChar}, &TWideStringField::staticMetaObject);
    map({ftSmallint}, &TSmallintField::staticMetaObject);
    map({ftInteger}, &TIntegerField::staticMetaObject);
    map({ftWord}, &TWordField::staticMetaObject);
    map({ftAutoInc}, &TAutoIncField::staticMetaObject);
    map({ftLargeint}, &TLargeintField::staticMetaObject);
    map({ftFloat}, &TFloatField::staticMetaObject);
    map({ftCurrency}, &TCurrencyField::staticMetaObject);
    map({ftBCD}, &TBCDField::staticMetaObject);
    map({ftFMTBcd}, &TFMTBCDField::staticMetaObject);
    map({ftBoolean}, &TBooleanField::staticMetaObject);
    map({ftDateTime, ftTimeStamp}, &TDateTimeField::staticMetaObject);
    map({ftDate}, &TDateField::staticMetaObject);
    map({ftTime}, &TTimeField::staticMetaObject);
    map({ftBytes}, &TBytesField::staticMetaObject);
    map({ftVarBytes}, &TVarBytesField::staticMetaObject);
    map({ftBlob, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftOraBlob}, &TBlobField::staticMetaObject);
    map({ftMemo, ftFmtMemo, ftOraClob}, &TMemoField::staticMetaObject);
    map({ftWideMemo}, &TWideMemoField::staticMetaObject);
    map({ftGraphic}, &TGraphicField::staticMetaObject);
    map({ftVariant}, &TVariantField::staticMetaObject);
    map({ftADT}, &TADTField::staticMetaObject);
    map({ftArray}, &TArrayField::staticMetaObject);
    map({ftDataSet}, &TDataSetField::staticMetaObject);
    map({ftReference}, &TReferenceField::staticMetaObject);
    return classes;
}

QHash<int, const QMetaObject*>& FieldClasses()
{
    static QHash<int, const QMetaObject*> classes = [] {
        QHash<int, const QMetaObject*> builtIn = BuiltInClasses();
        for (const QMetaObject* meta : builtIn)
            RegisterClass(meta);
        return builtIn;
    }();
    return classes;
}

// Persistent fields stream by class name from the start, before any dataset
// asked for a class.
const bool registeredAtLoad = (FieldClasses(), true);

}  // namespace

void RegisterFieldClass(TFieldType type, const QMetaObject* fieldClass)
{
    if (!fieldClass || !fieldClass->inherits(&TField::staticMetaObject))
        throw EDatabaseError(QStringLiteral("A field class must derive from TField"));
    FieldClasses().insert(type, fieldClass);
    RegisterClass(fieldClass);
}

const QMetaObject* FieldClassFor(TFieldType type)
{
    return FieldClasses().value(type, nullptr);
}

TField* CreateFieldForDef(const TFieldDef& def, QObject* owner)
{
    const QMetaObject* meta = FieldClassFor(def.DataType);
    if (!meta)
        throw EDatabaseError(QStringLiteral("Field '%1' is of an unsupported type (%2)")
                                 .arg(def.Name, EnumName(def.DataType)));
    std::unique_ptr<TField> field(qobject_cast<TField*>(meta->newInstance(Q_ARG(QObject*, owner))));
    if (!field)
        throw EDatabaseError(QStringLiteral("Cannot create a %1 for field '%2'")
                                 .arg(QString::fromLatin1(meta->className()), def.Name));
    field->dataType_ = def.DataType;  // the class may serve several types
    field->fieldName_ = def.Name;
    // Taken as declared: 0 leaves strings and bytes unlimited.
    field->size_ = def.Size;
    field->required_ = def.Required && def.DataType != ftAutoInc;
    field->readOnly_ = def.ReadOnly;
    if (auto* nested = qobject_cast<TDataSetField*>(field.get())) {
        // The nested table's columns are fields of the nested dataset.
        nested->SetNestedFieldDefs(def.ChildDefs);
    } else if (auto* object = qobject_cast<TObjectField*>(field.get())) {
        for (const TFieldDef& childDef : def.ChildDefs) {
            TField* child = CreateFieldForDef(childDef, object);
            child->SetParentField(object);
        }
    }
    // Until here a failure frees the half-made field.
    return field.release();
}

}  // namespace tk
