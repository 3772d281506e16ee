#include "host/demo_orders.h"

#include "toolkit/core/currency.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/memorysource.h"
#include "toolkit/data/query.h"

#include <QBuffer>
#include <QColor>
#include <QDate>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <sqlite3.h>

namespace host {

namespace {

const char* const kFirstNames[] = {"Alice", "Brian", "Clara", "Daniel", "Emma", "Frank", "Grace", "Henry",
                                   "Irene", "Jack", "Karen", "Louis", "Maria", "Nathan", "Olivia"};
const char* const kLastNames[] = {"Adams", "Baker", "Carter", "Dixon", "Evans", "Fisher", "Gordon", "Hughes",
                                  "Irving", "Jones", "King", "Lewis", "Morgan", "Nolan", "Owens", "Parker",
                                  "Quinn", "Reed", "Shaw", "Turner"};
const char* const kCities[] = {"Bristol", "Cardiff", "Dublin", "Edinburgh", "Glasgow", "Leeds", "Liverpool",
                               "London", "Manchester", "York"};
const char* const kStreets[] = {"High Street", "Station Road", "Church Lane", "Mill Road", "Park Avenue",
                                "Victoria Street", "Queen Street", "Bridge Road"};
const char* const kNotes[] = {"", "", "", "Leave at the door", "Call before delivery",
                              "Gift wrap\nNo invoice in the parcel", "Fragile"};

template <class T, std::size_t N>
constexpr int Count(const T (&)[N])
{
    return int(N);
}

tk::TFieldDef Def(const char* name, tk::TFieldType type, int size = 0)
{
    tk::TFieldDef def;
    def.Name = QString::fromLatin1(name);
    def.DataType = type;
    def.Size = size;
    return def;
}

// A small picture drawn in code, as the bitmap file bytes a graphic field
// stores: a coloured disc with the order's picture number.
QByteArray DrawPhoto(int index)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((index * 67) % 360, 160, 220));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRect(4, 2, 20, 20));
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignRight | Qt::AlignBottom, QString::number(index + 1));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The client dataset whose rows can be handed over at once: appending
// 100,000 records one by one through the dataset's editing takes far longer
// than filling the memory rows and showing them.
class TBulkClientDataSet : public tk::TClientDataSet {
public:
    using tk::TClientDataSet::TClientDataSet;
    void Load(const std::vector<std::vector<tk::Variant>>& rows)
    {
        Q_ASSERT(Active());
        auto memory = std::make_unique<tk::TMemoryRecordSource>(Rows()->FieldDefs());
        memory->Reserve(qint64(rows.size()));
        memory->AppendRows(rows);
        ShowRows(std::move(memory));
    }
};

// The values of one order; the row handed to the memory rows follows the
// fields' order, with Address flattened into its Street and City.
struct TOrderValues {
    int orderNo;
    int customerNo;
    tk::TDateTime date;
    double amount;
    bool paid;
    QString status;
    QString notes;
    QByteArray photo;
    QString street;
    QString city;
};

TOrderValues MakeOrder(int orderNo, const std::vector<QByteArray>& photos)
{
    // A fixed arithmetic walk instead of random numbers: the same rows at
    // every opening, so screenshots and tests see the same orders.
    const int n = orderNo - 1;
    TOrderValues order;
    order.orderNo = orderNo;
    order.customerNo = 1 + (n * 7) % TDemoOrders::kCustomerCount;
    order.date = tk::EncodeDate(2024, 1, 1) + (n * 13) % 730;
    order.amount = double(500 + (n * 7919) % 99500) / 100.0;
    order.paid = (n % 3) != 0;
    order.status = TDemoOrders::StatusCodes()[(n / 2) % 4];
    order.notes = QString::fromLatin1(kNotes[n % Count(kNotes)]);
    if (n % TDemoOrders::kPhotoEvery == 0)
        order.photo = photos[std::size_t((n / TDemoOrders::kPhotoEvery) % int(photos.size()))];
    order.street = QStringLiteral("%1 %2").arg(1 + n % 120).arg(QString::fromLatin1(kStreets[n % Count(kStreets)]));
    order.city = QString::fromLatin1(kCities[(n / 3) % Count(kCities)]);
    return order;
}

// One statement on the SQLite file; a failure raises with SQLite's reason.
void Exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw tk::EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
}

}  // namespace

const QStringList& TDemoOrders::StatusCodes()
{
    static const QStringList codes = {QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("D"),
                                      QStringLiteral("C")};
    return codes;
}

const QStringList& TDemoOrders::StatusTexts()
{
    static const QStringList texts = {QStringLiteral("New"), QStringLiteral("Shipped"),
                                      QStringLiteral("Delivered"), QStringLiteral("Cancelled")};
    return texts;
}

QString TDemoOrders::MoneyFormat()
{
    return QStringLiteral("#,##0.00");
}

TDemoOrders::TDemoOrders(int orderCount) : orderCount_(orderCount)
{
    Q_ASSERT(orderCount > 0);
    if (!folder_.isValid())
        throw tk::EDatabaseError(QStringLiteral("No temporary folder for the demonstration orders"));
    sqlFile_ = folder_.filePath(QStringLiteral("orders.sqlite"));
    MakeCustomers();
    MakeSummary();
    MakeOrders();
    MakeSqlOrders();
    ordersSource_ = std::make_unique<tk::TDataSource>();
    ordersSource_->SetDataSet(orders_.get());
    summarySource_ = std::make_unique<tk::TDataSource>();
    summarySource_->SetDataSet(summary_.get());
    sqlOrdersSource_ = std::make_unique<tk::TDataSource>();
    sqlOrdersSource_->SetDataSet(sqlOrders_.get());
}

TDemoOrders::~TDemoOrders()
{
    // Sources first, then the orders (the lookup reads the customers).
    sqlOrdersSource_.reset();
    summarySource_.reset();
    ordersSource_.reset();
    orders_.reset();
    sqlOrders_.reset();
    sqlDatabase_.reset();
}

void TDemoOrders::MakeCustomers()
{
    customers_ = std::make_unique<TBulkClientDataSet>();
    customers_->SetName(QStringLiteral("cdsCustomers"));
    customers_->FieldDefs() = {Def("CustomerNo", tk::ftInteger), Def("Name", tk::ftString, 40),
                               Def("City", tk::ftString, 30)};
    customers_->CreateDataSet();
    // The lookup grid's columns take these widths (in characters): the
    // name and the city side by side in a popup of sensible width.
    customers_->FieldByName(QStringLiteral("Name"))->SetDisplayWidth(18);
    customers_->FieldByName(QStringLiteral("City"))->SetDisplayWidth(12);
    std::vector<std::vector<tk::Variant>> rows;
    rows.reserve(kCustomerCount);
    for (int i = 0; i < kCustomerCount; ++i) {
        const QString name = QStringLiteral("%1 %2").arg(QString::fromLatin1(kFirstNames[i % Count(kFirstNames)]),
                                                         QString::fromLatin1(kLastNames[(i / Count(kFirstNames) + i) %
                                                                                        Count(kLastNames)]));
        rows.push_back({tk::Variant(i + 1), tk::Variant(name), tk::Variant(QString::fromLatin1(kCities[i % Count(kCities)]))});
    }
    static_cast<TBulkClientDataSet*>(customers_.get())->Load(rows);
    customers_->SetIndexFieldNames(QStringLiteral("CustomerNo"));
}

void TDemoOrders::MakeSummary()
{
    summary_ = std::make_unique<tk::TClientDataSet>();
    summary_->SetName(QStringLiteral("cdsSummary"));
    summary_->FieldDefs() = {Def("Target", tk::ftCurrency)};
    summary_->CreateDataSet();
    summary_->Append();
    summary_->FieldByName(QStringLiteral("Target"))->SetValue(tk::Variant(60000000.0));
    summary_->Post();
    static_cast<tk::TFloatField*>(summary_->FieldByName(QStringLiteral("Target")))->SetDisplayFormat(MoneyFormat());
}

void TDemoOrders::MakeOrders()
{
    QElapsedTimer timer;
    timer.start();
    auto orders = std::make_unique<TBulkClientDataSet>();
    orders->SetName(QStringLiteral("cdsOrders"));
    tk::TFieldDef address = Def("Address", tk::ftADT);
    address.ChildDefs = {Def("Street", tk::ftString, 40), Def("City", tk::ftString, 30)};
    // Persistent fields, so that the lookup field sits among them.
    const tk::TFieldDef defs[] = {Def("OrderNo", tk::ftInteger),     Def("CustomerNo", tk::ftInteger),
                                  Def("OrderDate", tk::ftDate),      Def("Amount", tk::ftCurrency),
                                  Def("Paid", tk::ftBoolean),        Def("Status", tk::ftString, 1),
                                  Def("Notes", tk::ftMemo),          Def("Photo", tk::ftGraphic),
                                  address};
    for (const tk::TFieldDef& def : defs) {
        tk::TField* field = tk::CreateFieldForDef(def, orders.get());
        field->SetDataSet(orders.get());
        if (def.Name == QLatin1String("CustomerNo")) {
            auto* customer = new tk::TStringField(orders.get());
            customer->SetFieldName(QStringLiteral("Customer"));
            customer->SetSize(40);
            customer->SetFieldKind(tk::fkLookup);
            customer->SetKeyFields(QStringLiteral("CustomerNo"));
            customer->SetLookupDataSet(customers_.get());
            customer->SetLookupKeyFields(QStringLiteral("CustomerNo"));
            customer->SetLookupResultField(QStringLiteral("Name"));
            customer->SetDataSet(orders.get());
        }
    }
    static_cast<tk::TFloatField*>(orders->FieldByName(QStringLiteral("Amount")))->SetDisplayFormat(MoneyFormat());
    orders->CreateDataSet();

    std::vector<QByteArray> photos;
    for (int i = 0; i < 6; ++i)
        photos.push_back(DrawPhoto(i));
    std::vector<std::vector<tk::Variant>> rows;
    rows.reserve(std::size_t(orderCount_));
    for (int orderNo = 1; orderNo <= orderCount_; ++orderNo) {
        const TOrderValues o = MakeOrder(orderNo, photos);
        rows.push_back({tk::Variant(o.orderNo), tk::Variant(o.customerNo), tk::Variant::FromDate(o.date),
                        tk::Variant(tk::TCurrency::FromDouble(o.amount)), tk::Variant(o.paid),
                        tk::Variant(o.status), tk::Variant(o.notes),
                        o.photo.isEmpty() ? tk::Variant() : tk::Variant(o.photo), tk::Variant(o.street),
                        tk::Variant(o.city)});
    }
    {
        orders->DisableControls();
        auto enable = qScopeGuard([&orders] { orders->EnableControls(); });
        orders->Load(rows);
    }
    orders_ = std::move(orders);
    ordersBuildMs_ = timer.elapsed();
}

void TDemoOrders::MakeSqlOrders()
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(sqlFile_.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const QString reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        throw tk::EDatabaseError(reason);
    }
    auto close = qScopeGuard([db] { sqlite3_close(db); });
    Exec(db, "BEGIN");
    Exec(db, "CREATE TABLE Customers (CustomerNo INTEGER PRIMARY KEY, Name TEXT, City TEXT)");
    Exec(db, "CREATE TABLE Orders (OrderNo INTEGER PRIMARY KEY, CustomerNo INTEGER, OrderDate TEXT, "
             "Amount REAL, Paid INTEGER, Status TEXT)");
    sqlite3_stmt* insert = nullptr;
    auto finalize = qScopeGuard([&insert] { sqlite3_finalize(insert); });
    if (sqlite3_prepare_v2(db, "INSERT INTO Customers VALUES (?, ?, ?)", -1, &insert, nullptr) != SQLITE_OK)
        throw tk::EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    for (customers_->First(); !customers_->Eof(); customers_->Next()) {
        sqlite3_bind_int(insert, 1, customers_->FieldByName(QStringLiteral("CustomerNo"))->AsInteger());
        const QByteArray name = customers_->FieldByName(QStringLiteral("Name"))->AsString().toUtf8();
        const QByteArray city = customers_->FieldByName(QStringLiteral("City"))->AsString().toUtf8();
        sqlite3_bind_text(insert, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, city.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw tk::EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(insert);
    }
    customers_->First();
    sqlite3_finalize(insert);
    insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO Orders VALUES (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr) != SQLITE_OK)
        throw tk::EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    const std::vector<QByteArray> noPhotos(1);
    for (int orderNo = 1; orderNo <= kSqlOrderCount; ++orderNo) {
        const TOrderValues o = MakeOrder(orderNo, noPhotos);
        const QByteArray date = tk::QDateFromDateTime(o.date).toString(Qt::ISODate).toUtf8();
        const QByteArray status = o.status.toUtf8();
        sqlite3_bind_int(insert, 1, o.orderNo);
        sqlite3_bind_int(insert, 2, o.customerNo);
        sqlite3_bind_text(insert, 3, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 4, o.amount);
        sqlite3_bind_int(insert, 5, o.paid ? 1 : 0);
        sqlite3_bind_text(insert, 6, status.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw tk::EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(insert);
    }
    Exec(db, "COMMIT");

    sqlDatabase_ = std::make_unique<tk::TDatabase>();
    sqlDatabase_->SetDatabaseName(sqlFile_);
    sqlDatabase_->SetActive(true);
    sqlOrders_ = std::make_unique<tk::TQuery>();
    sqlOrders_->SetName(QStringLiteral("qryOrders"));
    sqlOrders_->SetDatabase(sqlDatabase_.get());
    sqlOrders_->SQL()->SetText(QStringLiteral(
        "SELECT o.OrderNo, o.OrderDate, c.Name AS Customer, c.City, o.Amount, o.Paid, o.Status "
        "FROM Orders o JOIN Customers c ON c.CustomerNo = o.CustomerNo ORDER BY o.OrderNo"));
    sqlOrders_->Open();
}

}  // namespace host
