#pragma once
// How every case of the data grid and of its peer is shown and painted: the
// widget offscreen at 1920 x 1080, painted whole (titles or headers, cells,
// bars) into an image the same size by render(), once per measured paint.
// The event loop runs only outside the measured parts (SettleEvents): it
// would paint the shown widget a second time into its backing store.

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QWidget>

namespace gridbench {

inline constexpr QSize kScreenSize{1920, 1080};

// The height of a data row of our grid, line included (defined with the
// data grid's cases): the peers give their rows the same, so that both show
// as many rows.
int DataRowPitch();

inline QImage ScreenImage()
{
    return QImage(kScreenSize, QImage::Format_RGB32);
}

inline void ShowAtScreenSize(QWidget& widget)
{
    widget.resize(kScreenSize);
    widget.show();
    QCoreApplication::processEvents();
}

inline void Paint(QWidget& widget, QImage& image)
{
    widget.render(&image);
}

// Runs what the widget posted (its pending paint among it), between the
// measured parts, so that nothing piles up from one iteration to the next.
inline void SettleEvents()
{
    QCoreApplication::processEvents();
}

}  // namespace gridbench
