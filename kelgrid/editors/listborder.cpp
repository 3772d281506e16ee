#include "kelgrid/editors/listborder.h"

#include "kelgrid/grid/dbgrid.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QPointer>

namespace kelgrid {

namespace {

// The border ring drawn over the frame's own 1-pixel box. A plain box is
// drawn in the window text colour, and the list's cells take their text
// colour from there too: the ring paints the border colour instead, so the
// text keeps its own. It lies over the whole list, takes no mouse events and
// paints nothing but the ring, which neither the viewport nor the scroll
// bars cover.
class TListBorderRing : public QWidget {
public:
    explicit TListBorderRing(QFrame* frame) : QWidget(frame), frame_(frame)
    {
        setObjectName(QStringLiteral("listBorderRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        frame->installEventFilter(this);
        setGeometry(frame->rect());
        show();
    }

    void SetColor(const QColor& color)
    {
        color_ = color;
        update();
    }
    QColor Color() const { return color_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == frame_ && event->type() == QEvent::Resize) {
            setGeometry(frame_->rect());
            raise();
        }
        return false;
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(color_);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QPointer<QFrame> frame_;
    QColor color_;
};

}  // namespace

tk::TColor ListBorderColor(TListBorderStyle resolved)
{
    switch (resolved) {
    case lbGray: return tk::clGray;
    case lbMild: return tk::clSilver;
    default: return tk::clWindowFrame;
    }
}

void ApplyListBorder(QFrame& frame, const TKelCustomDBGrid* grid)
{
    frame.setFrameStyle(QFrame::Box | QFrame::Plain);
    frame.setLineWidth(1);
    const TListBorderStyle style = grid ? grid->ListBorderStyle() : lbDefault;
    auto* ring = frame.findChild<TListBorderRing*>(QStringLiteral("listBorderRing"), Qt::FindDirectChildrenOnly);
    if (!ring)
        ring = new TListBorderRing(&frame);
    ring->SetColor(tk::ColorToQColor(ListBorderColor(style), frame.palette()));
    ring->raise();
}

QColor ListBorderShown(const QFrame& frame)
{
    const auto* ring = frame.findChild<TListBorderRing*>(QStringLiteral("listBorderRing"), Qt::FindDirectChildrenOnly);
    return ring ? ring->Color() : QColor();
}

}  // namespace kelgrid
