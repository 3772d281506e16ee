// The data grid's vertical bar as arithmetic (see scrollbarmodel.h).

#include "kelgrid/grid/scrollbarmodel.h"

#include <algorithm>

namespace kelgrid {

namespace {

tk::TScrollInfo NumberedInfo(const TScrollBarState& state)
{
    tk::TScrollInfo info;
    const int count = std::max(0, state.recCount);
    info.Min = 1;
    if (state.thumbBar) {
        info.Page = std::max(1, state.visibleRows);
        info.Max = info.Page + count - 1;
    } else {
        info.Page = 0;
        info.Max = count;
    }
    info.Pos = state.previousPosition;
    if (state.browsing) {
        int number = state.recNumber;
        if (state.bof)
            number = std::min(1, count);
        else if (state.eof)
            number = count;
        info.Pos = number;
    }
    if (state.autoHidden && state.visibleRows >= count)
        return tk::TScrollInfo{1, 1, 1, 1};
    return info;
}

tk::TScrollInfo UnsequencedInfo(const TScrollBarState& state)
{
    tk::TScrollInfo info;
    info.Min = 0;
    info.Page = state.thumbBar ? 2 : 0;
    info.Max = state.thumbBar ? 5 : 4;
    info.Pos = state.bof ? 0 : state.eof ? info.Max : 2;
    // Fewer records than rows: the whole dataset is on screen.
    if (state.autoHidden && state.windowRows < state.visibleRows) {
        info.Max = info.Min;
        info.Pos = info.Min;
    }
    return info;
}

}  // namespace

tk::TScrollInfo CalcScrollBarInfo(const TScrollBarState& state)
{
    tk::TScrollInfo info =
        state.model == TScrollModel::Unsequenced ? UnsequencedInfo(state) : NumberedInfo(state);
    const bool hidden = state.autoHidden && info.Max <= info.Min;
    if (!hidden && info.Min >= info.Max)
        info.Max = info.Min + 1;
    // The thumb's last position leaves a page of the range under it.
    const int largest = info.Page > 0 ? info.Max - info.Page + 1 : info.Max;
    info.Pos = std::clamp(info.Pos, info.Min, std::max(info.Min, largest));
    return info;
}

TThumbTarget ThumbTarget(TScrollModel model, int position, int recCount)
{
    switch (model) {
    case TScrollModel::GridSequence:
        if (position <= 1)
            return {TThumbMove::First};
        if (position < recCount)
            return {TThumbMove::ToNumber, position};
        return {TThumbMove::Last};
    case TScrollModel::Sequenced:
        if (position > 1 && position < recCount)
            return {TThumbMove::ToNumber, position};
        return {position <= 1 ? TThumbMove::First : TThumbMove::Last};
    case TScrollModel::Unsequenced:
        switch (position) {
        case 0:
            return {TThumbMove::First};
        case 1:
            return {TThumbMove::PageUp};
        case 2:
            return {TThumbMove::None};
        case 3:
            return {TThumbMove::PageDown};
        default:
            return {position < 0 ? TThumbMove::First : TThumbMove::Last};
        }
    }
    return {};
}

}  // namespace kelgrid
