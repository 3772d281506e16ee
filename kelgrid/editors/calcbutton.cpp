#include "kelgrid/editors/calcbutton.h"

#include "kelgrid/editors/popupcalculator.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/themes.h"

#include <QEnterEvent>
#include <QPaintEvent>

namespace kelgrid {

TKelCalcButton::TKelCalcButton(TKelPopupCalculator* calculator, QChar code, QWidget* parent)
    : QAbstractButton(parent), tk::TControl(this), calculator_(calculator), code_(code),
      flat_(!tk::ThemesEnabled())
{
    // The in-place editor keeps the focus while the popup is open.
    setFocusPolicy(Qt::NoFocus);
    SetTag(code.unicode());  // the key's code, readable as any control's Tag
    connect(this, &QAbstractButton::clicked, this, [this] {
        tk::Guarded([this] {
            if (calculator_)
                calculator_->ProcessKey(code_);
        });
    });
}

void TKelCalcButton::SetFlat(bool flat)
{
    if (flat == flat_)
        return;
    flat_ = flat;
    update();
}

void TKelCalcButton::enterEvent(QEnterEvent* event)
{
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TKelCalcButton::leaveEvent(QEvent* event)
{
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TKelCalcButton::paintEvent(QPaintEvent*)
{
    tk::Guarded([this] {
        tk::TCanvas canvas(this);
        const bool down = isDown();
        QRect face = rect();
        if (tk::ThemesEnabled()) {
            tk::TThemedDetails details;
            details.element = tk::TThemedElement::tePushButton;
            details.state = down ? tk::TThemedState::tsPressed
                                 : (hot_ ? tk::TThemedState::tsHot : tk::TThemedState::tsNormal);
            tk::DrawThemedElement(canvas, details, face, this);
            face = tk::ThemedContentRect(details, face, this);
        } else if (flat_) {
            // The calculator's background shows through a flat key.
            QRect edge = face;
            tk::DrawEdge(canvas, edge, down ? tk::bdrSunkenInner : tk::bdrRaisedInner, tk::bfRect);
        } else {
            QRect edge = face;
            tk::DrawEdge(canvas, edge, down ? tk::edgeSunken : tk::edgeRaised, tk::bfRect | tk::bfMiddle);
        }
        if (down)
            face.translate(1, 1);
        canvas.Font()->Assign(Font());
        QRect textRect = face;
        canvas.DrawText(text(), textRect, tk::dtCenter | tk::dtVCenter | tk::dtSingleLine | tk::dtNoPrefix);
    });
}

}  // namespace kelgrid
