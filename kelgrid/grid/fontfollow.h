#pragma once
// Fonts that follow another font until they are set: a column's font the
// grid's, a title's the grid's title font, a total's the totals' font.

namespace tk {
class TFont;
}

namespace kelgrid {

// Copies source into font unless they already draw alike; lock is raised
// around the copy so that the font's change handler does not count it as
// an assignment. compareColor: the handle alone does not tell two fonts of
// different colours apart (titles and totals draw in the font's colour).
void RefreshFont(tk::TFont* font, const tk::TFont* source, int& lock, bool compareColor);

}  // namespace kelgrid
