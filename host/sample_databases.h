#pragma once
// The databases of the sample installation, as small SQLite files with the
// content a community administration keeps: a year file per community
// (owners, their receipts and the community's expenses) and the report
// database (report definitions and their settings).

#include <QList>
#include <QString>

namespace host {

struct TSampleOwner {
    QString name;
    QString flat;
    double share;  // per cent of the community's costs
};

struct TSampleCommunity {
    QString name;  // also its folder name under "Comunidades"
    QString address;
    QString taxCode;
    double yearlyBudget;
    QList<TSampleOwner> owners;
};

// The communities of the sample; the first is the current one.
const QList<TSampleCommunity>& SampleCommunities();

// Writes the year file of a community for a year, replacing a file at path.
// The file appears whole or not at all. Raises tk::EInOutError when it
// cannot be written.
void CreateYearDatabase(const QString& path, const TSampleCommunity& community, int year);
// Writes "Informes.mdb" the same way.
void CreateReportDatabase(const QString& path);

}  // namespace host
