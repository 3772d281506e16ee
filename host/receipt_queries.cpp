#include "host/receipt_queries.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"

#include <QDate>
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

}  // namespace

TReceiptQueries::TReceiptQueries(tk::TDatabase* database)
{
    if (!database)
        throw tk::EDatabaseError(QStringLiteral("The receipts need the year database"));
    owners_ = NewQuery(database, QStringLiteral("qryPropietarios"),
                       QStringLiteral("SELECT Codigo, Nombre FROM Propietarios ORDER BY Codigo"));
    summary_ = NewQuery(database, QStringLiteral("qryResumen"),
                        QStringLiteral("SELECT (SELECT Ejercicio FROM Comunidad) AS Ejercicio,"
                                       " total(Importe) AS Suma, count(Importe) AS Recibos,"
                                       " total(CASE WHEN Cobrado = 0 THEN Importe END) AS Pendiente"
                                       " FROM Recibos"));
    receipts_ = NewQuery(database, QStringLiteral("qryRecibos"),
                         QStringLiteral("SELECT Numero, Propietario, Fecha, Concepto, Importe, Cobrado"
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
               Def("Concepto", tk::ftString), Def("Importe", tk::ftFloat), Def("Cobrado", tk::ftLargeint)});
    tk::TField* date = receipts_->FieldByName(QStringLiteral("Fecha"));
    date->OnGetText = [](tk::TField* field, QString& text, bool displayText) {
        text = displayText ? DisplayDate(field->AsString()) : field->AsString();
    };
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
