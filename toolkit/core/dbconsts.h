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
TK_RESOURCESTRING(STextTrue, "True");
TK_RESOURCESTRING(STextFalse, "False");

}  // namespace tk
