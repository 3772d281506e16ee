#pragma once
// A grid on a client dataset of the community's fees, for the grid package's
// tests: Id, Owner (text), Amount (float), Paid (Boolean), with five rows.

#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/field_def.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {

struct FeeRow {
    int id;
    const char* owner;
    double amount;
    bool paid;
};

inline const FeeRow kFees[] = {
    {1, "Ana Ruiz", 120.5, true},   {2, "Bernardo Gil", 80.0, false}, {3, "Carmen Peña", 99.99, true},
    {4, "Diego Soto", 0.0, false}, {5, "Elena Vidal", 250.25, true},
};

// Fills dataSet with the fee rows (it must be closed).
inline void FillFees(tk::TClientDataSet& dataSet)
{
    using tk::test::Def;
    dataSet.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger), Def(QStringLiteral("Owner"), tk::ftString, 40),
                           Def(QStringLiteral("Amount"), tk::ftFloat), Def(QStringLiteral("Paid"), tk::ftBoolean)};
    dataSet.CreateDataSet();
    for (const FeeRow& row : kFees) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(row.id);
        dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QString::fromUtf8(row.owner));
        dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(row.amount);
        dataSet.FieldByName(QStringLiteral("Paid"))->SetAsBoolean(row.paid);
        dataSet.Post();
    }
    dataSet.First();
}

// Appends fees from..to after the five (owner "Owner <id>", amount the id,
// paid on even ids) and goes back to the first record.
inline void AppendFees(tk::TClientDataSet& dataSet, int from, int to)
{
    dataSet.Last();
    for (int id = from; id <= to; ++id) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Owner %1").arg(id));
        dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(id);
        dataSet.FieldByName(QStringLiteral("Paid"))->SetAsBoolean(id % 2 == 0);
        dataSet.Post();
    }
    dataSet.First();
}

// A grid on the fees; the dataset and source outlive the grid.
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(dataSet);
        source.SetDataSet(&dataSet);
        grid = std::make_unique<TKelDBGrid>();
        grid->resize(400, 200);
        grid->SetDataSource(&source);
    }
    void TearDown() override { grid.reset(); }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
};

// The requests a grid made between two RequestCounts() texts, as the
// same text: what one action asked for, whatever came before it.
inline QString RequestsSince(const QString& before, const QString& now)
{
    const QRegularExpression numbers(QStringLiteral("(\\d+)"));
    QList<int> counts;
    for (const QString& text : {before, now}) {
        auto it = numbers.globalMatch(text);
        while (it.hasNext())
            counts << it.next().captured(1).toInt();
    }
    if (counts.size() != 6)
        return QStringLiteral("unreadable counts");
    return QStringLiteral("lists %1, sequence %2, totals %3")
        .arg(counts[3] - counts[0])
        .arg(counts[4] - counts[1])
        .arg(counts[5] - counts[2]);
}

}  // namespace kelgrid::test
