#pragma once
// TKelColumnsWrapper exists only to stream a column layout: the columns of
// a grid together with its order fields text, written and read with the
// toolkit's component streaming (toolkit/core/streaming.h). The wrapper
// does not own the collection it shows.

#include "kelgrid/grid/columns.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"

#include <QPointer>
#include <QString>

namespace kelgrid {

class KELGRID_EXPORT TKelColumnsWrapper : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(kelgrid::TKelDBGridColumns* Columns READ Columns)
    Q_PROPERTY(QString OrderFields READ OrderFields WRITE SetOrderFields)
public:
    explicit TKelColumnsWrapper(TKelDBGridColumns* columns, QObject* owner = nullptr);

    TKelDBGridColumns* Columns() const { return columns_; }
    QString OrderFields() const { return orderFields_; }
    void SetOrderFields(const QString& orderFields) { orderFields_ = orderFields; }

private:
    QPointer<TKelDBGridColumns> columns_;
    QString orderFields_;
};

}  // namespace kelgrid
