#pragma once
// The data behind the grid demonstration window, made in code when the
// window opens:
//
//   Customers()  a few hundred customers: CustomerNo, Name, City.
//   Orders()     100,000 orders: OrderNo (key), CustomerNo with Customer
//                looked up from the customers (Name), OrderDate, Amount
//                (currency), Paid, Status (a code "N", "S", "D" or "C"),
//                Notes (memo), Photo (a graphic field: a few small pictures
//                drawn here, most orders without one) and Address, an object
//                field of Street and City.
//   Summary()    one row, Target: the amount the orders are measured by,
//                shown in the totals' footer.
//   SqlOrders()  a few thousand of the same orders written to an SQLite
//                file and read back by a query (ORDER BY rewritten on title
//                clicks), with the customers' names joined in.
//
// The SQLite file lives in a temporary folder owned by this object: the
// rows are made again at every opening, and a file in the installation's
// data folder would be picked up by the backup window as the user's data.

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace tk {
class TClientDataSet;
class TDataSource;
class TDatabase;
class TQuery;
}  // namespace tk

namespace host {

class TDemoOrders {
public:
    static constexpr int kOrderCount = 100000;
    static constexpr int kCustomerCount = 300;
    static constexpr int kSqlOrderCount = 3000;
    // Orders that carry a picture: one in kPhotoEvery.
    static constexpr int kPhotoEvery = 1000;

    // Raises tk::EDatabaseError when the SQLite file cannot be written.
    // orderCount: the orders of the client dataset (tests make fewer).
    explicit TDemoOrders(int orderCount = kOrderCount);
    ~TDemoOrders();
    TDemoOrders(const TDemoOrders&) = delete;
    TDemoOrders& operator=(const TDemoOrders&) = delete;

    tk::TClientDataSet* Customers() const { return customers_.get(); }
    tk::TClientDataSet* Orders() const { return orders_.get(); }
    tk::TClientDataSet* Summary() const { return summary_.get(); }
    tk::TQuery* SqlOrders() const { return sqlOrders_.get(); }
    tk::TDataSource* OrdersSource() const { return ordersSource_.get(); }
    tk::TDataSource* SummarySource() const { return summarySource_.get(); }
    tk::TDataSource* SqlOrdersSource() const { return sqlOrdersSource_.get(); }
    int OrderCount() const { return orderCount_; }
    // Milliseconds the orders took to make.
    qint64 OrdersBuildMs() const { return ordersBuildMs_; }
    QString SqlFileName() const { return sqlFile_; }

    // The status codes and the words shown for them, in the same order.
    static const QStringList& StatusCodes();
    static const QStringList& StatusTexts();
    static QString MoneyFormat();

private:
    void MakeCustomers();
    void MakeOrders();
    void MakeSummary();
    void MakeSqlOrders();

    const int orderCount_;
    QTemporaryDir folder_;
    QString sqlFile_;
    qint64 ordersBuildMs_ = 0;
    // The sources go before the datasets, the orders (whose lookup field
    // reads the customers) before the customers.
    std::unique_ptr<tk::TClientDataSet> customers_;
    std::unique_ptr<tk::TClientDataSet> summary_;
    std::unique_ptr<tk::TDatabase> sqlDatabase_;
    std::unique_ptr<tk::TQuery> sqlOrders_;
    std::unique_ptr<tk::TClientDataSet> orders_;
    std::unique_ptr<tk::TDataSource> ordersSource_;
    std::unique_ptr<tk::TDataSource> summarySource_;
    std::unique_ptr<tk::TDataSource> sqlOrdersSource_;
};

}  // namespace host
