#pragma once
// The registry's built-in entries and their validators (inside the package).
//
// Validators (each gets the dataset and the entry's strategy):
//   ValidCursorOrder    index fields when "CursorLocation" is clUseClient;
//                       ORDER BY rewriting when it is clUseServer and
//                       "CommandType" is cmdText, or cmdUnknown with a
//                       SELECT in "CommandText".
//   ValidCommandOrder   index fields always; ORDER BY rewriting when
//                       "CommandText" holds a SELECT and "FileName" is empty.
//   ValidProviderOrder  index fields always; ORDER BY rewriting when
//                       "DataSet.CommandType" is ctQuery and "FileName" and
//                       "IndexFieldNames" are empty.
//   ValidQueryTypeOrder index fields always; ORDER BY rewriting when
//                       "CommandType" is ctQuery and "FileName" is empty.
// Other strategies are refused. "Holds a SELECT" means a SELECT keyword
// outside strings and comments, whatever blank follows it.

#include "kelgrid/grid/orderregistry.h"

#include <optional>

namespace kelgrid {

bool ValidCursorOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder);
bool ValidCommandOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder);
bool ValidProviderOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder);
bool ValidQueryTypeOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder);

// The text of a published property of dataSet by path; nullopt when the
// dataset lacks it.
std::optional<QString> DataSetPropertyText(tk::TDataSet* dataSet, const QString& path);

// The entries a new registry starts with, in registration order.
QList<TChangeOrderItem> BuiltInChangeOrders();

}  // namespace kelgrid
