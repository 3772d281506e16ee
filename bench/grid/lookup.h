#pragma once
// What both sides of the lookup cases share: the first 100,000 rows of the
// benchmark's table file (bigtable.h) as the lookup table, the key located
// before the list shows, where it shows and how large it is.

#include <QPoint>
#include <QSize>

namespace gridbench {

inline constexpr int kLookupRows = 100000;
// The key of a record in the middle: both sides must find it among the rows
// they hold before they show it as the current row.
inline constexpr int kLookupKey = 50000;
inline constexpr const char* kLookupSelect = "SELECT id, name, city, amount FROM t WHERE id <= 100000";
// The key column and the columns shown (the key itself is not).
inline constexpr const char* kLookupKeyField = "id";
inline constexpr const char* kLookupListFields = "name;city;amount";
inline constexpr int kLookupShownColumns = 3;
// The screen point the popups open at (their top-left).
inline constexpr QPoint kLookupPopupAt{200, 160};

// The size of our lookup grid as it opens and the height of its data rows
// with their lines (defined with our cases): the peer shows a popup of the
// same size with rows as high.
struct LookupGeometry {
    QSize size;
    int rowPitch = 0;
};
LookupGeometry OurLookupGeometry();

}  // namespace gridbench
