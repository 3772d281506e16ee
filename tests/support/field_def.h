#pragma once
// Field definitions in one line, for tests that build record sources.

#include "toolkit/data/recordsource.h"

namespace tk::test {

inline TFieldDef Def(const QString& name, TFieldType type, int size = 0, bool required = false)
{
    TFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Required = required;
    return def;
}

}  // namespace tk::test
