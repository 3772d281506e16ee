#pragma once
// A grid of receipts shown with the focus, for the tests that edit cells:
// Id, OwnerId with the lookup field Owner on a dataset of owners, Due (a
// date), Amount, Status (a short code) and Notes (a memo). Columns are
// customised so the tests may hold them.

#include "kelgrid/editors/dbgridinplaceedit.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/field_def.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/datetime.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {

class EditingFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        using tk::test::Def;
        owners.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger),
                              Def(QStringLiteral("Name"), tk::ftString, 30)};
        owners.CreateDataSet();
        const char* names[] = {"Ana Ruiz", "Bernardo Gil", "Carmen Peña", "Diego Soto"};
        for (int i = 0; i < 4; ++i)
            Append(owners, {tk::Variant(i + 1), tk::Variant(QString::fromUtf8(names[i]))});
        owners.First();

        AddField<tk::TIntegerField>(QStringLiteral("Id"));
        AddField<tk::TIntegerField>(QStringLiteral("OwnerId"));
        auto* owner = AddField<tk::TStringField>(QStringLiteral("Owner"));
        owner->SetSize(30);
        owner->SetFieldKind(tk::fkLookup);
        owner->SetKeyFields(QStringLiteral("OwnerId"));
        owner->SetLookupDataSet(&owners);
        owner->SetLookupKeyFields(QStringLiteral("Id"));
        owner->SetLookupResultField(QStringLiteral("Name"));
        AddField<tk::TDateField>(QStringLiteral("Due"));
        AddField<tk::TFloatField>(QStringLiteral("Amount"));
        AddField<tk::TStringField>(QStringLiteral("Status"))->SetSize(10);
        AddField<tk::TMemoField>(QStringLiteral("Notes"));
        receipts.CreateDataSet();
        for (int id = 1; id <= 6; ++id)
            Append(receipts, {tk::Variant(id), tk::Variant(1 + (id - 1) % 4), tk::Variant(),
                              tk::Variant::FromDate(tk::EncodeDate(2026, 3, id)), tk::Variant(100.0 + id),
                              tk::Variant(QStringLiteral("Alpha")), tk::Variant(QStringLiteral("note %1").arg(id))});
        receipts.First();
        source.SetDataSet(&receipts);

        grid = std::make_unique<TKelDBGrid>();
        grid->resize(640, 240);
        grid->SetDataSource(&source);
        grid->Columns()->SetState(csCustomized);
        grid->show();
        grid->setFocus();
        QApplication::processEvents();
        driver = std::make_unique<tk::test::WidgetDriver>(grid.get());
    }
    void TearDown() override
    {
        driver.reset();
        grid.reset();
    }

    // Appends a record of values in field order (Unassigned: left empty).
    static void Append(tk::TDataSet& dataSet, std::initializer_list<tk::Variant> values)
    {
        dataSet.Append();
        int index = 0;
        for (const tk::Variant& value : values) {
            tk::TField* field = dataSet.Fields()[index++];
            if (!value.IsUnassigned())
                field->SetValue(value);
        }
        dataSet.Post();
    }
    template <class F>
    F* AddField(const QString& name)
    {
        auto* field = new F(&receipts);
        field->SetFieldName(name);
        field->SetDataSet(&receipts);
        return field;
    }
    TKelColumn* Column(const char* name) const { return grid->ColumnByName(QString::fromLatin1(name)); }
    // Makes the column current (keys, as a user moves there).
    void GoTo(const char* name)
    {
        grid->SetSelectedColumn(Column(name));
        QApplication::processEvents();
    }
    TKelDBGridInplaceEdit* Editor() const { return qobject_cast<TKelDBGridInplaceEdit*>(grid->InplaceEditor()); }
    QString Field(const char* name) const { return receipts.FieldByName(QString::fromLatin1(name))->AsString(); }
    void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    tk::TClientDataSet owners;
    tk::TClientDataSet receipts;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    std::unique_ptr<tk::test::WidgetDriver> driver;
};

}  // namespace kelgrid::test
