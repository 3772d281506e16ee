#include "kelgrid/editors/calcdisplay.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include <QPaintEvent>
#include <algorithm>

namespace kelgrid {

TKelDisplay::TKelDisplay(QWidget* parent) : QWidget(parent), tk::TControl(this)
{
    setFocusPolicy(Qt::NoFocus);
}

void TKelDisplay::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
}

void TKelDisplay::paintEvent(QPaintEvent*)
{
    tk::Guarded([this] {
        tk::TCanvas canvas(this);
        canvas.Pen()->SetColor(DisplayFrameColor);
        canvas.Brush()->SetColor(DisplayFillColor);
        canvas.Rectangle(rect());

        // A number wider than the box shows its first digits rather than
        // losing them on the left.
        const QRect box = rect().adjusted(5, 2, -5, -2);
        canvas.Font()->Assign(Font());
        canvas.Brush()->SetStyle(tk::TBrush::bsClear);
        const QSize extent = canvas.TextExtent(text_);
        const int x = std::max(box.left(), box.left() + box.width() - extent.width());
        const int y = box.top() + (box.height() - extent.height()) / 2;
        canvas.TextRect(box, x, y, text_);
    });
}

}  // namespace kelgrid
