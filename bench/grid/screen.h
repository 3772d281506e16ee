#pragma once
// How every case of the data grid and of its peer is shown and painted: the
// widget offscreen at 1920 x 1080, painted whole (titles or headers, cells,
// bars) into an image the same size, after the events its last change
// posted (deferred layouts, the view's delayed item layout) have run, as
// they would before a real screen paints.

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

inline void SettleAndPaint(QWidget& widget, QImage& image)
{
    QCoreApplication::processEvents();
    widget.render(&image);
}

}  // namespace gridbench
