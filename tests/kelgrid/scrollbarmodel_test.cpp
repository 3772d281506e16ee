// The vertical bar's arithmetic: what the bar shows for a dataset position
// in each model, and where a thumb released at a position leads.

#include "kelgrid/grid/scrollbarmodel.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace kelgrid {
namespace {

using M = TScrollModel;

struct BarCase {
    const char* name;
    TScrollBarState state;
    tk::TScrollInfo info;  // minimum, maximum, page, position
};

TScrollBarState Numbered(int count, int number, int visible, bool thumbBar = true)
{
    TScrollBarState state;
    state.model = M::Sequenced;
    state.recCount = count;
    state.recNumber = number;
    state.visibleRows = visible;
    state.windowRows = std::min(count, visible);
    state.thumbBar = thumbBar;
    return state;
}

TScrollBarState With(TScrollBarState state, void (*change)(TScrollBarState&))
{
    change(state);
    return state;
}

TScrollBarState Unsequenced(bool bof, bool eof, bool thumbBar = true)
{
    TScrollBarState state;
    state.model = M::Unsequenced;
    state.visibleRows = 10;
    state.windowRows = 10;
    state.bof = bof;
    state.eof = eof;
    state.thumbBar = thumbBar;
    return state;
}

class ScrollBarModelTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(ScrollBarModelTest, TheBarShowsTheDatasetsPosition)
{
    EXPECT_EQ(CalcScrollBarInfo(GetParam().state), GetParam().info);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScrollBarModelTest,
    ::testing::Values(BarCase{"ProportionalThumbCoversAPage", Numbered(3000, 40, 10), {1, 3009, 10, 40}},
                      BarCase{"FixedThumbRunsToTheCount", Numbered(3000, 40, 10, false), {1, 3000, 0, 40}},
                      BarCase{"AtTheBeginningTheFirstNumber",
                              With(Numbered(3000, 0, 10), [](TScrollBarState& s) { s.bof = true; }),
                              {1, 3009, 10, 1}},
                      BarCase{"AtTheEndTheCount",
                              With(Numbered(3000, 7, 10), [](TScrollBarState& s) { s.eof = true; }),
                              {1, 3009, 10, 3000}},
                      BarCase{"InsertingKeepsWhatTheBarShowed",
                              With(Numbered(3000, 0, 10),
                                   [](TScrollBarState& s) {
                                       s.browsing = false;
                                       s.previousPosition = 17;
                                   }),
                              {1, 3009, 10, 17}},
                      BarCase{"EmptyDatasetKeepsOneStep", Numbered(0, 0, 10, false), {1, 2, 0, 1}},
                      BarCase{"AllFittingAndAutoHiddenHasNoRange",
                              With(Numbered(3, 2, 10), [](TScrollBarState& s) { s.autoHidden = true; }),
                              {1, 1, 1, 1}},
                      BarCase{"AllFittingWithoutAutoHiddenStillScrolls", Numbered(3, 2, 10), {1, 12, 10, 2}},
                      BarCase{"UnsequencedAtTheFirstRecord", Unsequenced(true, false), {0, 5, 2, 0}},
                      BarCase{"UnsequencedInTheMiddle", Unsequenced(false, false), {0, 5, 2, 2}},
                      BarCase{"UnsequencedAtTheLastRecord", Unsequenced(false, true), {0, 5, 2, 4}},
                      BarCase{"UnsequencedFixedThumb", Unsequenced(false, true, false), {0, 4, 0, 4}},
                      BarCase{"UnsequencedEndingOnScreenHides",
                              With(Unsequenced(true, true),
                                   [](TScrollBarState& s) {
                                       s.autoHidden = true;
                                       s.windowRows = 4;
                                   }),
                              {0, 0, 2, 0}},
                      BarCase{
                          "UnsequencedFullScreenKeepsItsRange",
                          With(Unsequenced(false, false), [](TScrollBarState& s) { s.autoHidden = true; }),
                          {0, 5, 2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ThumbCase {
    const char* name;
    TScrollModel model;
    int position;
    int recCount;
    TThumbTarget target;
};

class ThumbTargetTest : public ::testing::TestWithParam<ThumbCase> {};

TEST_P(ThumbTargetTest, AThumbPositionLeadsToARecord)
{
    EXPECT_EQ(ThumbTarget(GetParam().model, GetParam().position, GetParam().recCount), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThumbTargetTest,
    ::testing::Values(ThumbCase{"SequencedMiddle", M::Sequenced, 1500, 3000, {TThumbMove::ToNumber, 1500}},
                      ThumbCase{"SequencedOneIsTheFirst", M::Sequenced, 1, 3000, {TThumbMove::First}},
                      ThumbCase{"SequencedCountIsTheLast", M::Sequenced, 3000, 3000, {TThumbMove::Last}},
                      ThumbCase{"SequencedBeyondIsTheLast", M::Sequenced, 4000, 3000, {TThumbMove::Last}},
                      ThumbCase{"GridSequenceMiddle", M::GridSequence, 2, 3, {TThumbMove::ToNumber, 2}},
                      ThumbCase{"GridSequenceZeroIsTheFirst", M::GridSequence, 0, 3, {TThumbMove::First}},
                      ThumbCase{"UnsequencedTop", M::Unsequenced, 0, 0, {TThumbMove::First}},
                      ThumbCase{"UnsequencedUpperQuarter", M::Unsequenced, 1, 0, {TThumbMove::PageUp}},
                      ThumbCase{"UnsequencedMiddleDoesNothing", M::Unsequenced, 2, 0, {TThumbMove::None}},
                      ThumbCase{"UnsequencedLowerQuarter", M::Unsequenced, 3, 0, {TThumbMove::PageDown}},
                      ThumbCase{"UnsequencedBottom", M::Unsequenced, 4, 0, {TThumbMove::Last}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelgrid
