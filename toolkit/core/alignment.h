#pragma once
// TAlignment, the horizontal alignment of a value in its cell or control
// (fields, grid columns and their titles publish it). It lives in a gadget so
// that properties of this type read and write by name ("taRightJustify"), and
// is lifted into namespace tk so code writes taCenter.

#include <QObject>

namespace tk {

struct TAlignmentEnum {
    Q_GADGET

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
};

using TAlignment = TAlignmentEnum::TAlignment;
using enum TAlignmentEnum::TAlignment;

}  // namespace tk
