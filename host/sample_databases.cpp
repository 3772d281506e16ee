#include "host/sample_databases.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <QDate>
#include <QFile>
#include <QVariant>
#include <cmath>
#include <cstdio>
#include <sqlite3.h>

namespace host {

namespace {

// A database being written under a temporary name beside its target: it
// takes the target's name only once it is complete.
class TNewDatabase {
public:
    explicit TNewDatabase(const QString& path) : path_(path), temporary_(path + QStringLiteral(".new"))
    {
        if (!tk::ForceDirectories(tk::ExtractFilePath(path_)))
            throw tk::EInOutError(QStringLiteral("Cannot create the folder of %1").arg(path_));
        QFile::remove(temporary_);
        const int rc = sqlite3_open_v2(temporary_.toUtf8().constData(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc == SQLITE_OK && sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
            return;
        // The destructor does not run for a constructor that throws.
        const QString reason = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        QFile::remove(temporary_);
        throw tk::EInOutError(QStringLiteral("Cannot write %1: %2").arg(path_, reason));
    }
    ~TNewDatabase()
    {
        sqlite3_close(db_);
        QFile::remove(temporary_);  // still there only when something failed
    }
    TNewDatabase(const TNewDatabase&) = delete;
    TNewDatabase& operator=(const TNewDatabase&) = delete;

    void Exec(const QString& sql)
    {
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail();
    }

    // Runs one statement with its "?" parameters bound in order.
    void Insert(const char* sql, const QVariantList& values)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
            Fail();
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& value = values[i];
            if (value.typeId() == QMetaType::Double)
                sqlite3_bind_double(statement, i + 1, value.toDouble());
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Bool)
                sqlite3_bind_int(statement, i + 1, value.toInt());
            else
                sqlite3_bind_text(statement, i + 1, value.toString().toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE)
            Fail();
    }

    void Commit()
    {
        Exec(QStringLiteral("COMMIT"));
        sqlite3_close(db_);
        db_ = nullptr;
        // rename() replaces an existing file in one step.
        if (std::rename(temporary_.toUtf8().constData(), path_.toUtf8().constData()) != 0)
            throw tk::EInOutError(QStringLiteral("Cannot write %1").arg(path_));
    }

private:
    [[noreturn]] void Fail()
    {
        throw tk::EInOutError(
            QStringLiteral("Cannot write %1: %2").arg(path_, QString::fromUtf8(sqlite3_errmsg(db_))));
    }

    QString path_;
    QString temporary_;
    sqlite3* db_ = nullptr;
};

double Cents(double amount)
{
    return std::round(amount * 100.0) / 100.0;
}

QString IsoDate(int year, int month, int day)
{
    return QDate(year, month, day).toString(Qt::ISODate);
}

}  // namespace

const QList<TSampleCommunity>& SampleCommunities()
{
    static const QList<TSampleCommunity> communities{
        {QStringLiteral("Edificio Peñalara"),
         QStringLiteral("Calle de la Sierra 14, 28039 Madrid"),
         QStringLiteral("H28765432"),
         14400.0,
         {{QStringLiteral("Ana Belén Ortega Ruiz"), QStringLiteral("1º A"), 12.5},
          {QStringLiteral("José María Castaño Gil"), QStringLiteral("1º B"), 12.5},
          {QStringLiteral("Lucía Fernández Nieto"), QStringLiteral("2º A"), 12.5},
          {QStringLiteral("Construcciones Arévalo, S.L."), QStringLiteral("2º B"), 12.5},
          {QStringLiteral("Íñigo Saldaña Pérez"), QStringLiteral("3º A"), 12.5},
          {QStringLiteral("María del Carmen Muñoz"), QStringLiteral("3º B"), 12.5},
          {QStringLiteral("Francisco Javier López"), QStringLiteral("Ático"), 15.0},
          {QStringLiteral("Farmacia Peñalara, C.B."), QStringLiteral("Local 1"), 10.0}}},
        {QStringLiteral("Residencial Los Álamos"),
         QStringLiteral("Avenida de los Álamos 3, 41013 Sevilla"),
         QStringLiteral("H41234567"),
         9600.0,
         {{QStringLiteral("Rocío Jiménez Vargas"), QStringLiteral("Bajo A"), 20.0},
          {QStringLiteral("Manuel Ángel Torres"), QStringLiteral("Bajo B"), 20.0},
          {QStringLiteral("Pilar Domínguez Sanz"), QStringLiteral("1º A"), 20.0},
          {QStringLiteral("Tomás Ibáñez Crespo"), QStringLiteral("1º B"), 20.0},
          {QStringLiteral("Begoña Urquijo Lasa"), QStringLiteral("2º"), 20.0}}},
    };
    return communities;
}

void CreateYearDatabase(const QString& path, const TSampleCommunity& community, int year)
{
    TNewDatabase db(path);
    db.Exec(QStringLiteral(
        "CREATE TABLE Comunidad (Nombre TEXT NOT NULL, Direccion TEXT, CIF TEXT, Ejercicio INTEGER NOT NULL,"
        " Presupuesto REAL NOT NULL);"
        "CREATE TABLE Propietarios (Codigo INTEGER PRIMARY KEY, Nombre TEXT NOT NULL, Piso TEXT NOT NULL,"
        " Coeficiente REAL NOT NULL, Telefono TEXT, Email TEXT);"
        "CREATE TABLE Recibos (Numero INTEGER PRIMARY KEY,"
        " Propietario INTEGER NOT NULL REFERENCES Propietarios(Codigo), Fecha TEXT NOT NULL,"
        " Concepto TEXT NOT NULL, Importe REAL NOT NULL, Cobrado INTEGER NOT NULL DEFAULT 0,"
        " Estado TEXT NOT NULL DEFAULT 'emitido', Notas TEXT);"
        "CREATE TABLE Gastos (Numero INTEGER PRIMARY KEY, Fecha TEXT NOT NULL, Proveedor TEXT NOT NULL,"
        " Concepto TEXT NOT NULL, Importe REAL NOT NULL);"
        "CREATE INDEX RecibosPorPropietario ON Recibos (Propietario);"));
    db.Insert("INSERT INTO Comunidad VALUES (?, ?, ?, ?, ?)",
              {community.name, community.address, community.taxCode, year, community.yearlyBudget});

    const QStringList months{QStringLiteral("enero"), QStringLiteral("febrero"), QStringLiteral("marzo")};
    int code = 0;
    int receipt = 0;
    for (const TSampleOwner& owner : community.owners) {
        ++code;
        db.Insert("INSERT INTO Propietarios VALUES (?, ?, ?, ?, ?, ?)",
                  {code, owner.name, owner.flat, owner.share,
                   QStringLiteral("6%1").arg(10000000 + code * 7919),
                   QStringLiteral("propietario%1@example.com").arg(code)});
        const double monthly = Cents(community.yearlyBudget * owner.share / 100.0 / 12.0);
        for (int month = 1; month <= months.size(); ++month) {
            // The last month is still partly unpaid, as in any community.
            const bool paid = month < months.size() || code % 3 != 0;
            // Paid receipts went through the bank; the unpaid ones carry a
            // note of the reminder.
            db.Insert("INSERT INTO Recibos VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                      {++receipt, code, IsoDate(year, month, 1),
                       QStringLiteral("Cuota ordinaria %1 %2").arg(months[month - 1]).arg(year), monthly,
                       paid, paid ? QStringLiteral("domiciliado") : QStringLiteral("emitido"),
                       paid ? QVariant() : QVariant(QStringLiteral("Avisado por teléfono.\nVuelve a pasar el día 15."))});
        }
    }

    const struct {
        int month;
        const char* supplier;
        const char* description;
        double amount;
    } expenses[] = {
        {1, "Limpiezas del Norte, S.L.", "Limpieza de zonas comunes", 320.00},
        {1, "Eléctrica del Centro", "Alumbrado de escalera", 86.45},
        {2, "Ascensores Ruiz", "Mantenimiento del ascensor", 145.20},
        {2, "Aguas Municipales", "Agua comunitaria", 64.10},
        {3, "Seguros La Previsora", "Póliza del edificio", 612.75},
    };
    int expense = 0;
    for (const auto& e : expenses)
        db.Insert("INSERT INTO Gastos VALUES (?, ?, ?, ?, ?)",
                  {++expense, IsoDate(year, e.month, 10), QString::fromUtf8(e.supplier),
                   QString::fromUtf8(e.description), e.amount});
    db.Commit();
}

void CreateReportDatabase(const QString& path)
{
    TNewDatabase db(path);
    db.Exec(QStringLiteral("CREATE TABLE Informes (Codigo INTEGER PRIMARY KEY, Nombre TEXT NOT NULL UNIQUE, "
                           "Titulo TEXT NOT NULL,"
                           " Consulta TEXT NOT NULL, Orientacion TEXT NOT NULL DEFAULT 'Vertical');"
                           "CREATE TABLE Parametros (Clave TEXT PRIMARY KEY, Valor TEXT);"));
    const struct {
        const char* name;
        const char* title;
        const char* query;
        const char* orientation;
    } reports[] = {
        {"ListadoPropietarios", "Listado de propietarios",
         "SELECT Codigo, Nombre, Piso, Coeficiente FROM Propietarios ORDER BY Codigo", "Vertical"},
        {"RecibosPendientes", "Recibos pendientes de cobro",
         "SELECT r.Numero, p.Nombre, r.Fecha, r.Concepto, r.Importe FROM Recibos r"
         " JOIN Propietarios p ON p.Codigo = r.Propietario WHERE r.Cobrado = 0 ORDER BY r.Fecha",
         "Horizontal"},
        {"ResumenGastos", "Resumen de gastos por proveedor",
         "SELECT Proveedor, SUM(Importe) AS Total FROM Gastos GROUP BY Proveedor ORDER BY Total DESC",
         "Vertical"},
        {"EstadoCuentas", "Estado de cuentas",
         "SELECT (SELECT SUM(Importe) FROM Recibos WHERE Cobrado = 1) AS Ingresos,"
         " (SELECT SUM(Importe) FROM Gastos) AS Gastos",
         "Vertical"},
        {"CartaConvocatoria", "Convocatoria de junta ordinaria",
         "SELECT Nombre, Piso FROM Propietarios ORDER BY Piso", "Vertical"},
    };
    int code = 0;
    for (const auto& r : reports)
        db.Insert("INSERT INTO Informes VALUES (?, ?, ?, ?, ?)",
                  {++code, QString::fromUtf8(r.name), QString::fromUtf8(r.title), QString::fromUtf8(r.query),
                   QString::fromUtf8(r.orientation)});
    db.Insert("INSERT INTO Parametros VALUES (?, ?)",
              {QStringLiteral("PieDePagina"), QStringLiteral("Administración de fincas - Brivora")});
    db.Insert("INSERT INTO Parametros VALUES (?, ?)",
              {QStringLiteral("MargenSuperior"), QStringLiteral("15")});
    db.Insert("INSERT INTO Parametros VALUES (?, ?)", {QStringLiteral("Moneda"), QStringLiteral("EUR")});
    db.Commit();
}

}  // namespace host
