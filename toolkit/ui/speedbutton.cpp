// TSpeedButton: state, groups, mouse tracking and the plain painting.

#include "toolkit/ui/speedbutton.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/themes.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tk {

namespace {

// The image index of state in a strip of count images.
int ImageIndexOf(TButtonState state, int count)
{
    int index = static_cast<int>(state);
    if (index == static_cast<int>(TButtonState::bsExclusive) && index >= count)
        index = static_cast<int>(TButtonState::bsDown);
    if (index == static_cast<int>(TButtonState::bsDown) && index >= count)
        index = static_cast<int>(TButtonState::bsUp);
    return index < count ? index : -1;
}

TThemedState ThemedStateOf(const TSpeedButton& button)
{
    if (button.State() == TButtonState::bsDisabled)
        return TThemedState::tsDisabled;
    if (button.State() == TButtonState::bsDown || button.State() == TButtonState::bsExclusive)
        return TThemedState::tsPressed;
    return button.MouseInControl() ? TThemedState::tsHot : TThemedState::tsNormal;
}

// The checkered face of a button that stays down.
void FillDownPattern(TCanvas& canvas, const QRect& rect)
{
    QPainter* painter = canvas.Painter();
    painter->fillRect(rect, canvas.ToQColor(clBtnFace));
    painter->fillRect(rect, QBrush(canvas.ToQColor(clBtnHighlight), Qt::Dense4Pattern));
}

}  // namespace

TSpeedButtonLayout LayOutSpeedButton(const QRect& client, QSize glyphSize, QSize textSize, TButtonLayout layout,
                                     int margin, int spacing)
{
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    // A missing glyph or caption takes no room.
    if (glyphSize.isEmpty())
        glyphSize = QSize(0, 0);
    if (textSize.isEmpty())
        textSize = QSize(0, 0);
    const int room = horizontal ? client.width() : client.height();
    const int glyphLength = horizontal ? glyphSize.width() : glyphSize.height();
    const int textLength = horizontal ? textSize.width() : textSize.height();
    if (glyphSize.isEmpty() || textSize.isEmpty())
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            const int free = room - glyphLength - textLength;
            margin = free / 3;
            spacing = margin;
        } else {
            margin = (room - glyphLength - spacing - textLength + 1) / 2;
        }
    } else if (spacing == -1) {
        const int free = room - margin - glyphLength;
        spacing = (free - textLength) / 2;
    }
    // The offsets along the layout direction from the near edge.
    const int glyphAt = margin;
    const int textAt = glyphLength > 0 ? margin + glyphLength + spacing : margin;
    QPoint glyphPos;
    QPoint textPos;
    const int glyphAcross = ((horizontal ? client.height() : client.width()) -
                             (horizontal ? glyphSize.height() : glyphSize.width()) + 1) / 2;
    const int textAcross = ((horizontal ? client.height() : client.width()) -
                            (horizontal ? textSize.height() : textSize.width()) + 1) / 2;
    switch (layout) {
    case blGlyphLeft:
        glyphPos = {glyphAt, glyphAcross};
        textPos = {textAt, textAcross};
        break;
    case blGlyphRight:
        glyphPos = {room - glyphAt - glyphLength, glyphAcross};
        textPos = {room - textAt - textLength, textAcross};
        break;
    case blGlyphTop:
        glyphPos = {glyphAcross, glyphAt};
        textPos = {textAcross, textAt};
        break;
    case blGlyphBottom:
        glyphPos = {glyphAcross, room - glyphAt - glyphLength};
        textPos = {textAcross, room - textAt - textLength};
        break;
    }
    return {glyphPos + client.topLeft(), QRect(textPos + client.topLeft(), textSize)};
}

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent), TControl(this), glyph_(std::make_unique<TBitmap>())
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    // Moves without a button tell whether the pointer is over the button.
    setMouseTracking(true);
    resize(23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetAllowAllUp(bool allow)
{
    if (allowAllUp_ == allow)
        return;
    allowAllUp_ = allow;
    // The whole group follows one rule.
    if (groupIndex_ == 0 || !parentWidget())
        return;
    for (TSpeedButton* other : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly))
        if (other != this && other->groupIndex_ == groupIndex_)
            other->allowAllUp_ = allow;
}

void TSpeedButton::SetCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TSpeedButton::SetDown(bool down)
{
    if (groupIndex_ == 0)
        down = false;
    if (down_ == down)
        return;
    // The only down button of a group stays down unless all may be up.
    if (down_ && !allowAllUp_)
        return;
    down_ = down;
    if (Enabled())
        state_ = RestState();
    if (down_)
        UpdateExclusive();
    update();
}

void TSpeedButton::SetFlat(bool flat)
{
    if (flat_ == flat)
        return;
    flat_ = flat;
    update();
}

void TSpeedButton::SetGroupIndex(int index)
{
    if (groupIndex_ == index)
        return;
    groupIndex_ = index;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        if (Enabled())
            state_ = TButtonState::bsUp;
        update();
    }
    if (down_)
        UpdateExclusive();
}

void TSpeedButton::SetLayout(TButtonLayout layout)
{
    if (layout_ == layout)
        return;
    layout_ = layout;
    update();
}

void TSpeedButton::SetMargin(int margin)
{
    if (margin_ == margin || margin < -1)
        return;
    margin_ = margin;
    update();
}

void TSpeedButton::SetSpacing(int spacing)
{
    if (spacing_ == spacing)
        return;
    spacing_ = spacing;
    update();
}

void TSpeedButton::SetTransparent(bool transparent)
{
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    update();
}

void TSpeedButton::SetGlyph(const TBitmap* bitmap)
{
    if (bitmap)
        glyph_->Assign(bitmap);
    else
        glyph_->SetImage(QImage());
    // A strip of square images tells its count by itself.
    if (!glyph_->Empty() && glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
        const int count = glyph_->Width() / glyph_->Height();
        if (count >= 1 && count <= 4)
            numGlyphs_ = count;
    }
    GlyphChanged();
}

void TSpeedButton::SetNumGlyphs(int count)
{
    count = std::clamp(count, 1, 4);
    if (numGlyphs_ == count)
        return;
    numGlyphs_ = count;
    GlyphChanged();
}

void TSpeedButton::GlyphChanged()
{
    update();
}

void TSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !parentWidget())
        return;
    for (TSpeedButton* other : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly)) {
        if (other == this || other->groupIndex_ != groupIndex_ || !other->down_)
            continue;
        other->down_ = false;
        if (other->Enabled())
            other->state_ = TButtonState::bsUp;
        other->allowAllUp_ = allowAllUp_;
        other->update();
    }
}

void TSpeedButton::Click()
{
    if (groupIndex_ != 0) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    if (OnClick)
        OnClick(this);
}

void TSpeedButton::EnabledChanged()
{
    TControl::EnabledChanged();
    state_ = Enabled() ? RestState() : TButtonState::bsDisabled;
    if (!Enabled()) {
        pressing_ = false;
        SetMouseInControl(false);
    } else {
        SetMouseInControl(underMouse());
    }
    update();
}

void TSpeedButton::SetMouseInControl(bool inside)
{
    if (mouseInControl_ == inside)
        return;
    mouseInControl_ = inside;
    MouseInControlChanged();
}

void TSpeedButton::MouseInControlChanged()
{
    // Only flat buttons and themed ones have a hot look.
    if (flat_ || ThemesEnabled())
        update();
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    Guarded([&] {
        TCanvas canvas(this);
        PaintButton(canvas);
    });
}

void TSpeedButton::PaintButton(TCanvas& canvas)
{
    if (!Enabled())
        state_ = TButtonState::bsDisabled;
    else if (state_ == TButtonState::bsDisabled)
        state_ = RestState();
    const bool pressed = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
    QRect client = rect();
    const TColor face = Color() == clDefault ? clBtnFace : Color();
    if (ThemesEnabled()) {
        // The button fills nothing itself, so the parent shows around the element.
        TThemedDetails details;
        details.element = flat_ ? TThemedElement::teToolBarButton : TThemedElement::tePushButton;
        details.state = ThemedStateOf(*this);
        // A flat button at rest shows no element at all.
        if (!flat_ || details.state != TThemedState::tsNormal)
            DrawThemedElement(canvas, details, client, this);
        QRect content = ThemedContentRect(details, client, this);
        DrawGlyphAndCaption(canvas, content, pressed ? QPoint(1, 0) : QPoint(), state_, true);
        return;
    }
    if (flat_) {
        if (pressed || (mouseInControl_ && state_ != TButtonState::bsDisabled)) {
            if (!transparent_) {
                canvas.Brush()->SetColor(face);
                canvas.FillRect(client);
            }
            QRect edge = client;
            DrawEdge(canvas, edge, pressed ? bdrSunkenInner : bdrRaisedInner, bfRect);
        } else if (!transparent_) {
            canvas.Brush()->SetColor(face);
            canvas.FillRect(client);
        }
        client.adjust(1, 1, -1, -1);
    } else {
        DrawFrameControl(canvas, client, TFrameControl::dfcButton,
                         dfcsButtonPush | (pressed ? dfcsPushed : 0u));
        client.adjust(2, 2, -2, -2);
    }
    if (state_ == TButtonState::bsExclusive && (!flat_ || !mouseInControl_))
        FillDownPattern(canvas, client);
    DrawGlyphAndCaption(canvas, client, pressed ? QPoint(1, 1) : QPoint(), state_, true);
}

QRect TSpeedButton::DrawGlyphAndCaption(TCanvas& canvas, const QRect& client, const QPoint& offset,
                                        TButtonState state, bool transparent)
{
    const int count = std::clamp(numGlyphs_, 1, 4);
    const QSize glyphSize = glyph_->Empty() ? QSize() : QSize(glyph_->Width() / count, glyph_->Height());
    canvas.Font()->Assign(Font());
    const QSize textSize = caption_.isEmpty() ? QSize() : canvas.TextExtent(caption_);
    const TSpeedButtonLayout place = LayOutSpeedButton(client, glyphSize, textSize, layout_, margin_, spacing_);
    if (!glyphSize.isEmpty()) {
        const int index = ImageIndexOf(state, count);
        const int source = index >= 0 ? index : 0;
        const QImage strip = glyph_->Image();
        const QImage image = strip.copy(source * glyphSize.width(), 0, glyphSize.width(), glyphSize.height());
        const QPoint at = place.glyphPos + offset;
        if (!transparent) {
            canvas.Brush()->SetColor(clBtnFace);
            canvas.FillRect(QRect(at, glyphSize));
        }
        const TColor key = QColorToColor(image.pixelColor(0, image.height() - 1));
        QPainter* painter = canvas.Painter();
        const qreal opacity = painter->opacity();
        // Without an image of its own, the disabled look is the normal one faded.
        if (index < 0)
            painter->setOpacity(0.4);
        canvas.DrawTransparent(at.x(), at.y(), image, key);
        painter->setOpacity(opacity);
    }
    const QRect text = place.textBounds.translated(offset);
    if (!caption_.isEmpty()) {
        canvas.Brush()->SetStyle(TBrush::bsClear);
        if (state == TButtonState::bsDisabled) {
            canvas.Font()->SetColor(clBtnHighlight);
            canvas.TextOut(text.left() + 1, text.top() + 1, caption_);
            canvas.Font()->SetColor(clBtnShadow);
        }
        canvas.TextOut(text.left(), text.top(), caption_);
        canvas.Brush()->SetStyle(TBrush::bsSolid);
    }
    return text;
}

void TSpeedButton::mousePressEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (event->button() != Qt::LeftButton || !Enabled())
            return;
        pressing_ = true;
        state_ = TButtonState::bsDown;
        repaint();
    });
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    Guarded([&] {
        const bool inside = rect().contains(event->position().toPoint());
        SetMouseInControl(inside);
        if (!pressing_)
            return;
        const TButtonState wanted = inside ? TButtonState::bsDown : RestState();
        if (state_ != wanted) {
            state_ = wanted;
            update();
        }
    });
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (event->button() != Qt::LeftButton || !pressing_)
            return;
        pressing_ = false;
        const bool inside = rect().contains(event->position().toPoint());
        state_ = RestState();
        update();
        if (inside)
            Click();
    });
}

void TSpeedButton::enterEvent(QEnterEvent*)
{
    Guarded([&] {
        if (Enabled())
            SetMouseInControl(true);
    });
}

void TSpeedButton::leaveEvent(QEvent*)
{
    Guarded([&] { SetMouseInControl(false); });
}

}  // namespace tk
