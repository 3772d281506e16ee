#pragma once
// The data-access messages and display texts, fixed once here as resource
// strings so that a translation can replace them (LoadResString).

#include "toolkit/core/resourcestring.h"

namespace tk {

TK_RESOURCESTRING(SDataSetUnidirectional, "Operation not allowed on a unidirectional dataset");
TK_RESOURCESTRING(SDataSetClosed, "Cannot perform this operation on a closed dataset");
TK_RESOURCESTRING(STooManyColumns, "Too many columns");
TK_RESOURCESTRING(SFieldNotFound, "Field '%s' not found");
TK_RESOURCESTRING(SCircularDataLink, "Circular datalinks are not allowed");
TK_RESOURCESTRING(SDeleteRecordQuestion, "Delete record?");
TK_RESOURCESTRING(SDeleteMultipleRecordsQuestion, "Delete all selected records?");
TK_RESOURCESTRING(SNotEditing, "Dataset not in edit or insert mode");
TK_RESOURCESTRING(SDataSetOpen, "Cannot perform this operation on an open dataset");
TK_RESOURCESTRING(SDataSetEmpty, "Cannot perform this operation on an empty dataset");
TK_RESOURCESTRING(SDataSetReadOnly, "Cannot modify a read-only dataset");
TK_RESOURCESTRING(SRecordNotFound, "Record not found");
TK_RESOURCESTRING(SFieldRequired, "Field '%s' must have a value");
TK_RESOURCESTRING(SFieldReadOnly, "Field '%s' cannot be modified");
TK_RESOURCESTRING(SNotCalculating, "Field '%s' can only be set while calculating fields");
TK_RESOURCESTRING(STextTrue, "True");
TK_RESOURCESTRING(STextFalse, "False");

}  // namespace tk
