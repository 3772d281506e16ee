#pragma once
// Qt's connection to the benchmark's table file (bigtable.h), for the peers:
// opened under a name of the case's own and removed when the case ends.

#include "bench/grid/bigtable.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <stdexcept>
#include <utility>

namespace gridbench {

class QtConnection {
public:
    explicit QtConnection(QString name) : name_(std::move(name))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(BigTablePath());
        if (!db.open())
            throw std::runtime_error("Qt cannot open the benchmark database");
    }
    ~QtConnection() { QSqlDatabase::removeDatabase(name_); }
    QtConnection(const QtConnection&) = delete;
    QtConnection& operator=(const QtConnection&) = delete;

    QSqlQuery Select(const QString& sql) const { return QSqlQuery(sql, QSqlDatabase::database(name_)); }

private:
    const QString name_;
};

}  // namespace gridbench
