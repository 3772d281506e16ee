#pragma once
// The pictures of the grid demonstration window for the README and for
// --screenshots: the window with its totals and navigator, the lookup grid
// and the calendar open over it, the columns dialog and the navigator.

#include <QString>
#include <QStringList>

namespace host {

// Renders the pictures (settings read from settingsFile, never written)
// into folder, which ends in "/": kelgrid-demo.png, kelgrid-lookup.png,
// kelgrid-calendar.png, kelgrid-columns.png and kelgrid-navigator.png.
// written receives the files written, in that order; on false, failed
// names the file that could not be written. buildMs, when given,
// receives the milliseconds the orders took to make.
bool RenderKelgridScreenshots(const QString& settingsFile, const QString& folder, QStringList& written,
                              QString& failed, qint64* buildMs = nullptr);

}  // namespace host
