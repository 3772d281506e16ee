#pragma once
// TClientDataSet: a dataset whose records live in memory. It opens with the
// rows of one of these, in this order:
//   - a file in the client dataset format (FileName; clientdatasetfile.h
//     describes the format), or LoadFromFile;
//   - the result of a SELECT on an active TDatabase (CommandText, or with
//     CommandType cmdTable the whole table named by CommandText), copied: edits
//     stay in memory and never reach the database;
//   - nothing but field definitions (FieldDefs, or the persistent fields when
//     FieldDefs is empty) through CreateDataSet, or through Open when
//     FileName names a file that does not exist yet.
//
// With FileName set, Close writes the rows back to the file (atomically)
// when they changed since they were loaded or saved; a failed write raises
// and leaves the dataset open with its rows.
//
// IndexFieldNames (";"-separated) keeps the records sorted by those fields,
// text without regard to case; changing it on an open dataset re-sorts,
// keeps the current record and tells the links DataSetChanged.

#include "toolkit/data/dataset.h"

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

namespace tk {

class TDatabase;
class TMemoryRecordSource;

class TClientDataSet : public TDataSet {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
    Q_PROPERTY(QString CommandText READ CommandText WRITE SetCommandText)
    Q_PROPERTY(tk::TDatabase* Database READ Database WRITE SetDatabase)
    Q_PROPERTY(tk::TDataEnums::TCommandType CommandType READ CommandType WRITE SetCommandType)
    Q_PROPERTY(tk::TDataEnums::TCursorLocation CursorLocation READ CursorLocation WRITE SetCursorLocation)
    Q_CLASSINFO("Default:FileName", "")
    Q_CLASSINFO("Default:IndexFieldNames", "")
    Q_CLASSINFO("Default:CommandText", "")
    Q_CLASSINFO("Default:CommandType", "cmdText")
    Q_CLASSINFO("Default:CursorLocation", "clUseClient")
    Q_MOC_INCLUDE("toolkit/data/database.h")

public:
    explicit TClientDataSet(QObject* owner = nullptr);
    // Closes, which saves changed rows to FileName; a failure to save is
    // reported through the application's exception handler.
    ~TClientDataSet() override;

    QString FileName() const { return fileName_; }
    // Takes effect at the next Open (and names where Close saves).
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    QString IndexFieldNames() const { return indexFieldNames_; }
    // Raises EDatabaseError (SFieldNotFound) for an unknown field on an open
    // dataset and keeps the previous order and value.
    void SetIndexFieldNames(const QString& fieldNames);
    QString CommandText() const { return commandText_; }
    void SetCommandText(const QString& text) { commandText_ = text; }
    TDatabase* Database() const;
    void SetDatabase(TDatabase* database);
    TCommandType CommandType() const { return commandType_; }
    // cmdText (a SELECT) and cmdTable (a table name) are understood; the
    // others raise EDatabaseError at Open.
    void SetCommandType(TCommandType type) { commandType_ = type; }
    // A client dataset always holds its rows itself; the setter exists so
    // that streams written by peers load, and keeps clUseClient.
    TCursorLocation CursorLocation() const { return clUseClient; }
    void SetCursorLocation(TCursorLocation) {}

    // The definitions CreateDataSet uses; after Open, those of the rows
    // opened. Editable while closed.
    std::vector<TFieldDef>& FieldDefs() { return fieldDefs_; }
    // Opens an empty dataset with FieldDefs (or the persistent fields'
    // structure); raises EDatabaseError when open or without definitions.
    void CreateDataSet();

    // Loads the file and opens it (closing first, which saves changes to
    // FileName). A damaged file raises EDatabaseError naming the file and
    // line, and the dataset keeps what it had.
    void LoadFromFile(const QString& fileName);
    // Writes the rows (after posting a pending edit) atomically; an empty
    // name means FileName.
    void SaveToFile(const QString& fileName = QString());
    // True while rows changed since they were opened or saved to FileName.
    bool ChangesPending() const;

protected:
    std::unique_ptr<TRecordSource> CreateRecordSource() override;
    void DoAfterOpen() override;
    void DoBeforeClose() override;
    void DoBeforePost() override;
    void DoBeforeCancel() override;
    // The open rows (the source TDataSet owns), nullptr while closed.
    TMemoryRecordSource* Rows() const;
    // Shows rows of the same structure instead of those held (opening when
    // closed): an edit is cancelled, the cursor goes to the first record and
    // the links hear DataSetChanged (ActiveChanged when it opens).
    void ShowRows(std::unique_ptr<TMemoryRecordSource> rows);

private:
    std::unique_ptr<TMemoryRecordSource> OpenRows();
    std::unique_ptr<TMemoryRecordSource> QueryRows() const;
    // FieldDefs, or the persistent fields' structure when FieldDefs is empty.
    std::vector<TFieldDef> StructureDefs() const;

    QString fileName_;
    QString indexFieldNames_;
    QString commandText_;
    QPointer<TDatabase> database_;
    TCommandType commandType_ = cmdText;
    std::vector<TFieldDef> fieldDefs_;
    // Rows handed to the next Open (CreateDataSet, LoadFromFile).
    std::unique_ptr<TMemoryRecordSource> pendingRows_;
    qint64 savedChangeCount_ = 0;
};

}  // namespace tk
