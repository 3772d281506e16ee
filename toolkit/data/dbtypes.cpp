#include "toolkit/data/dbtypes.h"

namespace tk {

bool IsBlobType(TFieldType type)
{
    switch (type) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftOraClob:
    case ftWideMemo: return true;
    default: return false;
    }
}

bool IsObjectType(TFieldType type)
{
    return type == ftADT || type == ftArray || type == ftReference || type == ftDataSet;
}

}  // namespace tk
