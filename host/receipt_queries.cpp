#include "host/receipt_queries.h"

#include "toolkit/core/datetime.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"

#include <QDate>
#include <QStringList>
#include <initializer_list>

namespace host {

namespace {

tk::TFieldDef Def(const char* name, tk::TFieldType type)
{
    tk::TFieldDef def;
    def.Name = QString::fromLatin1(name);
    def.DataType = type;
    return def;
}

// Persistent fields of the types the SQLite source gives these columns
// (integers as ftLargeint, REAL as ftFloat, TEXT as an ftString of no
// length limit), so that they bind to the query's columns as its own
// fields would.
void AddFields(tk::TQuery& query, std::initializer_list<tk::TFieldDef> defs)
{
    for (const tk::TFieldDef& def : defs)
        tk::CreateFieldForDef(def, &query)->SetDataSet(&query);
}

std::unique_ptr<tk::TQuery> NewQuery(tk::TDatabase* database, const QString& name, const QString& sql)
{
    auto query = std::make_unique<tk::TQuery>();
    query->SetName(name);
    query->SetDatabase(database);
    query->SQL()->SetText(sql);
    return query;
}

// The ISO date the year file stores, as the window shows it; text that is
// no date shows as it is.
QString DisplayDate(const QString& iso)
{
    const QDate date = QDate::fromString(iso, Qt::ISODate);
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : iso;
}

// The ISO date as the editor and its calendar read and write it: the
// toolkit's short date format.
QString EditDate(const QString& iso)
{
    const QDate date = QDate::fromString(iso, Qt::ISODate);
    return date.isValid() ? tk::DateToStr(tk::DateFromQDate(date)) : iso;
}

// Typed or chosen text back to the ISO text the file keeps; anything that
// is no date is refused, so the file never holds a date it cannot sort.
QString IsoFromEdit(const QString& text)
{
    if (text.trimmed().isEmpty())
        throw tk::EConvertError(QStringLiteral("La fecha del recibo no puede quedar vacía"));
    const QDate iso = QDate::fromString(text.trimmed(), Qt::ISODate);
    if (iso.isValid())
        return iso.toString(Qt::ISODate);
    tk::TDateTime value = 0;
    if (!tk::TryStrToDate(text, value))
        throw tk::EConvertError(QStringLiteral("'%1' no es una fecha válida").arg(text));
    return tk::QDateFromDateTime(value).toString(Qt::ISODate);
}

// The columns a year file of an older sample lacks: added with their
// defaults, which keeps every receipt it holds.
void AddMissingReceiptColumns(tk::TDatabase* database)
{
    tk::TQuery columns;
    columns.SetDatabase(database);
    columns.SQL()->SetText(QStringLiteral("SELECT name FROM pragma_table_info('Recibos')"));
    columns.Open();
    QStringList names;
    for (columns.First(); !columns.Eof(); columns.Next())
        names << columns.Fields()[0]->AsString();
    columns.Close();
    if (names.isEmpty())
        return;  // no receipts table: opening the receipts will say so
    const struct {
        const char* name;
        const char* definition;
    } added[] = {{"Estado", "TEXT NOT NULL DEFAULT 'emitido'"}, {"Notas", "TEXT"}};
    for (const auto& column : added) {
        if (names.contains(QString::fromLatin1(column.name), Qt::CaseInsensitive))
            continue;
        tk::TQuery alter;
        alter.SetDatabase(database);
        alter.SQL()->SetText(QStringLiteral("ALTER TABLE Recibos ADD COLUMN %1 %2")
                                 .arg(QString::fromLatin1(column.name), QString::fromLatin1(column.definition)));
        alter.ExecSQL();
    }
}

}  // namespace

TReceiptQueries::TReceiptQueries(tk::TDatabase* database)
{
    if (!database)
        throw tk::EDatabaseError(QStringLiteral("The receipts need the year database"));
    AddMissingReceiptColumns(database);
    owners_ = NewQuery(database, QStringLiteral("qryPropietarios"),
                       QStringLiteral("SELECT Codigo, Nombre FROM Propietarios ORDER BY Codigo"));
    summary_ = NewQuery(database, QStringLiteral("qryResumen"),
                        QStringLiteral("SELECT (SELECT Ejercicio FROM Comunidad) AS Ejercicio,"
                                       " total(Importe) AS Suma, count(Importe) AS Recibos,"
                                       " total(CASE WHEN Cobrado = 0 THEN Importe END) AS Pendiente"
                                       " FROM Recibos"));
    receipts_ = NewQuery(database, QStringLiteral("qryRecibos"),
                         QStringLiteral("SELECT Numero, Propietario, Fecha, Concepto, Importe, Cobrado, Estado, Notas"
                                        " FROM Recibos ORDER BY Numero"));
    AddSummaryFields();
    AddReceiptFields();
    receiptsSource_ = std::make_unique<tk::TDataSource>();
    receiptsSource_->SetName(QStringLiteral("dsRecibos"));
    receiptsSource_->SetDataSet(receipts_.get());
    summarySource_ = std::make_unique<tk::TDataSource>();
    summarySource_->SetName(QStringLiteral("dsResumen"));
    summarySource_->SetDataSet(summary_.get());

    // A changed or deleted receipt changes the figures.
    const auto refreshSummary = [this](tk::TDataSet*) { summary_->Refresh(); };
    receipts_->AfterPost = refreshSummary;
    receipts_->AfterDelete = refreshSummary;

    owners_->Open();
    summary_->Open();
    receipts_->Open();
}

TReceiptQueries::~TReceiptQueries() = default;

void TReceiptQueries::AddReceiptFields()
{
    AddFields(*receipts_,
              {Def("Numero", tk::ftLargeint), Def("Propietario", tk::ftLargeint), Def("Fecha", tk::ftString),
               Def("Concepto", tk::ftString), Def("Importe", tk::ftFloat), Def("Cobrado", tk::ftLargeint),
               Def("Estado", tk::ftString), Def("Notas", tk::ftMemo)});
    tk::TField* date = receipts_->FieldByName(QStringLiteral("Fecha"));
    date->OnGetText = [](tk::TField* field, QString& text, bool displayText) {
        text = displayText ? DisplayDate(field->AsString()) : EditDate(field->AsString());
    };
    date->OnSetText = [](tk::TField* field, const QString& text) { field->SetAsString(IsoFromEdit(text)); };
    static_cast<tk::TNumericField*>(receipts_->FieldByName(QStringLiteral("Importe")))
        ->SetDisplayFormat(MoneyFormat());

    auto* ownerName = new tk::TStringField(receipts_.get());
    ownerName->SetFieldName(QStringLiteral("NombrePropietario"));
    ownerName->SetSize(0);  // as long as the owner's name is
    ownerName->SetFieldKind(tk::fkLookup);
    ownerName->SetKeyFields(QStringLiteral("Propietario"));
    ownerName->SetLookupDataSet(owners_.get());
    ownerName->SetLookupKeyFields(QStringLiteral("Codigo"));
    ownerName->SetLookupResultField(QStringLiteral("Nombre"));
    ownerName->SetDataSet(receipts_.get());
}

void TReceiptQueries::AddSummaryFields()
{
    AddFields(*summary_, {Def("Ejercicio", tk::ftLargeint), Def("Suma", tk::ftFloat),
                          Def("Recibos", tk::ftLargeint), Def("Pendiente", tk::ftFloat)});
    for (const char* name : {"Suma", "Pendiente"})
        static_cast<tk::TNumericField*>(summary_->FieldByName(QString::fromLatin1(name)))
            ->SetDisplayFormat(MoneyFormat());
}

int TReceiptQueries::Year() const
{
    tk::TField* year = summary_->FieldByName(QStringLiteral("Ejercicio"));
    return summary_->Active() && !year->IsNull() ? int(year->AsLargeInt()) : 0;
}

QString TReceiptQueries::MoneyFormat()
{
    return QStringLiteral("#,##0.00 €");
}

}  // namespace host
