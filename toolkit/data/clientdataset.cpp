#include "toolkit/data/clientdataset.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/format.h"
#include "toolkit/data/clientdatasetfile.h"
#include "toolkit/data/clientdatasetquery.h"
#include "toolkit/data/database.h"
#include "toolkit/data/field.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/memorysource.h"

#include <QScopeGuard>

namespace tk {

namespace {

// The definitions of data fields (object fields with their children).
std::vector<TFieldDef> DefsOfFields(const TFields& fields)
{
    std::vector<TFieldDef> defs;
    for (TField* field : fields) {
        if (field->FieldKind() != fkData)
            continue;
        TFieldDef def;
        def.Name = field->FieldName();
        def.DataType = field->DataType();
        def.Size = field->Size();
        def.Required = field->Required();
        def.ReadOnly = field->ReadOnly();
        if (const auto* nested = qobject_cast<const TDataSetField*>(field))
            def.ChildDefs = nested->NestedFieldDefs();
        else if (const TFields* children = field->ChildFields())
            def.ChildDefs = DefsOfFields(*children);
        defs.push_back(std::move(def));
    }
    return defs;
}

QString QuotedIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

TClientDataSet::TClientDataSet(QObject* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet()
{
    // Observers hear of the end while the whole client dataset is there.
    Destroying();
    // TDataSet's destructor can no longer reach DoBeforeClose: close here so
    // that changed rows reach FileName.
    Guarded([this] { Close(); });
}

TDatabase* TClientDataSet::Database() const
{
    return database_;
}

void TClientDataSet::SetDatabase(TDatabase* database)
{
    database_ = database;
}

std::vector<TFieldDef> TClientDataSet::StructureDefs() const
{
    if (!fieldDefs_.empty())
        return fieldDefs_;
    return DefsOfFields(Fields());
}

void TClientDataSet::CreateDataSet()
{
    CheckInactive();
    std::vector<TFieldDef> defs = StructureDefs();
    if (defs.empty())
        throw EDatabaseError(Format(QStringLiteral("%s: no field definitions to create the dataset from"), {Name()}));
    pendingRows_ = std::make_unique<TMemoryRecordSource>(std::move(defs));
    auto dropRows = qScopeGuard([this] { pendingRows_.reset(); });
    Open();
    dropRows.dismiss();
}

void TClientDataSet::LoadFromFile(const QString& fileName)
{
    // Read first: a damaged file must not cost the rows already open.
    std::unique_ptr<TMemoryRecordSource> rows = LoadClientDataFile(fileName);
    Close();
    pendingRows_ = std::move(rows);
    auto dropRows = qScopeGuard([this] { pendingRows_.reset(); });
    Open();
    dropRows.dismiss();
}

void TClientDataSet::SaveToFile(const QString& fileName)
{
    CheckActive();
    const QString target = fileName.isEmpty() ? fileName_ : fileName;
    if (target.isEmpty())
        throw EDatabaseError(Format(QStringLiteral("%s: no file name to save to"), {Name()}));
    CheckBrowseMode();
    SaveClientDataFile(*Rows(), target);
    if (target == fileName_)
        savedChangeCount_ = Rows()->ChangeCount();
}

bool TClientDataSet::ChangesPending() const
{
    return Rows() && Rows()->ChangeCount() != savedChangeCount_;
}

void TClientDataSet::SetIndexFieldNames(const QString& fieldNames)
{
    if (!Rows()) {
        indexFieldNames_ = fieldNames;
        return;
    }
    CheckBrowseMode();
    Rows()->Sort(fieldNames, true);  // raises before changing anything
    indexFieldNames_ = fieldNames;
    SourceReordered();
}

std::unique_ptr<TMemoryRecordSource> TClientDataSet::QueryRows() const
{
    if (!database_ || !database_->Active())
        throw EDatabaseError(Format(QStringLiteral("%s: the database is not connected"), {Name()}));
    switch (commandType_) {
    case cmdText: return LoadQueryRows(database_, commandText_);
    case cmdTable:
    case cmdTableDirect:
        return LoadQueryRows(database_, QStringLiteral("SELECT * FROM ") + QuotedIdentifier(commandText_));
    default: break;
    }
    throw EDatabaseError(Format(QStringLiteral("%s: command type %s is not supported"),
                                {Name(), EnumName(commandType_)}));
}

std::unique_ptr<TMemoryRecordSource> TClientDataSet::OpenRows()
{
    if (pendingRows_)
        return std::move(pendingRows_);
    // Refresh asks for rows while open: a query runs again; rows of a file
    // or made in memory are the ones held (a copy, with their edits).
    if (Rows() && commandText_.isEmpty())
        return DecodeClientData(EncodeClientData(*Rows()), Name());
    if (!fileName_.isEmpty()) {
        if (FileExists(fileName_))
            return LoadClientDataFile(fileName_);
        std::vector<TFieldDef> defs = StructureDefs();
        if (defs.empty())
            throw EDatabaseError(Format(QStringLiteral("Cannot open %s: the file does not exist"), {fileName_}));
        return std::make_unique<TMemoryRecordSource>(std::move(defs));
    }
    if (!commandText_.isEmpty())
        return QueryRows();
    throw EDatabaseError(Format(QStringLiteral("%s: no file name or command text to open; CreateDataSet makes an "
                                               "empty dataset"),
                                {Name()}));
}

std::unique_ptr<TRecordSource> TClientDataSet::CreateRecordSource()
{
    // A refresh of rows held in memory copies them with their changes, which
    // still have to reach FileName.
    const bool keepsChanges = Rows() && commandText_.isEmpty() && ChangesPending();
    std::unique_ptr<TMemoryRecordSource> rows = OpenRows();
    if (!indexFieldNames_.isEmpty())
        rows->Sort(indexFieldNames_, true);
    fieldDefs_ = rows->FieldDefs();
    savedChangeCount_ = keepsChanges ? -1 : rows->ChangeCount();
    return rows;
}

void TClientDataSet::ShowRows(std::unique_ptr<TMemoryRecordSource> rows)
{
    Q_ASSERT(rows);
    pendingRows_ = std::move(rows);
    auto dropRows = qScopeGuard([this] { pendingRows_.reset(); });
    if (!Active()) {
        Open();
        return;
    }
    Cancel();
    Refresh();
    First();
}

// A pending edit of a nested table goes into the record being posted.
void TClientDataSet::DoBeforePost()
{
    for (TField* field : FieldList()) {
        if (auto* nested = qobject_cast<TDataSetField*>(field))
            nested->ParentPosting();
    }
}

// Cancelling the record cancels a pending nested edit with it.
void TClientDataSet::DoBeforeCancel()
{
    for (TField* field : FieldList()) {
        if (auto* nested = qobject_cast<TDataSetField*>(field))
            nested->ParentCancelling();
    }
}

// Nested tables follow this dataset's records while it is open.
void TClientDataSet::DoAfterOpen()
{
    for (TField* field : FieldList()) {
        if (auto* nested = qobject_cast<TDataSetField*>(field))
            nested->ParentOpened();
    }
}

void TClientDataSet::DoBeforeClose()
{
    if (Rows() && !fileName_.isEmpty() && ChangesPending())
        SaveClientDataFile(*Rows(), fileName_);
    for (TField* field : FieldList()) {
        if (auto* nested = qobject_cast<TDataSetField*>(field))
            nested->ParentClosing();
    }
}

TMemoryRecordSource* TClientDataSet::Rows() const
{
    return static_cast<TMemoryRecordSource*>(Source());
}

}  // namespace tk
