#include "kelgrid/grid/fieldkinds.h"

namespace kelgrid {

bool IsMemoType(tk::TFieldType type)
{
    return type == tk::ftMemo || type == tk::ftFmtMemo || type == tk::ftWideMemo;
}

bool IsLargeOrObjectType(tk::TFieldType type)
{
    return type == tk::ftBytes || type == tk::ftVarBytes || type == tk::ftCursor || tk::IsBlobType(type) ||
           tk::IsObjectType(type);
}

}  // namespace kelgrid
