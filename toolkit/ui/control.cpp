#include "toolkit/ui/control.h"

#include "toolkit/core/application.h"

#include <QApplication>
#include <QPalette>

namespace tk {

TControlParts::TControlParts(QWidget* widget) : widget_(widget), font_(new TFont(widget))
{
    font_->OnChange = [this] { ApplyFont(); };
    ApplyFont();
}

void TControlParts::SetFont(const TFont* font)
{
    if (font && font != font_)
        font_->Assign(font);
}

void TControlParts::ApplyFont()
{
    widget_->setFont(font_->ToQFont());
    QPalette palette = widget_->palette();
    const QColor color = ColorToQColor(font_->Color());
    if (color.isValid()) {
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
        palette.setColor(QPalette::Text, color);
    }
    widget_->setPalette(palette);
}

void TControlParts::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    QPalette palette = widget_->palette();
    const QColor background = ColorToQColor(color);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        widget_->setAutoFillBackground(true);
    } else {
        palette.setColor(QPalette::Window, QApplication::palette(widget_).color(QPalette::Window));
        widget_->setAutoFillBackground(false);
    }
    widget_->setPalette(palette);
}

void FireEvent(const TNotifyEvent& handler, QObject* sender)
{
    if (handler)
        Guarded([&] { handler(sender); });
}

}  // namespace tk
