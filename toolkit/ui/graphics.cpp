#include "toolkit/ui/graphics.h"

#include <QApplication>
#include <QPalette>

namespace tk {

QColor ColorToQColor(TColor color)
{
    if (color == clWindowText)
        return QApplication::palette().color(QPalette::WindowText);
    if (color == clBtnFace)
        return QApplication::palette().color(QPalette::Button);
    if (color == clNone || color == clDefault)
        return QColor();
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TFont::TFont(QObject* parent) : TPersistent(parent) {}

void TFont::SetName(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    Changed();
}

void TFont::SetSize(int size)
{
    if (size == size_ || size <= 0)
        return;
    size_ = size;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::Assign(const TPersistent* source)
{
    const auto* font = qobject_cast<const TFont*>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    name_ = font->name_;
    size_ = font->size_;
    color_ = font->color_;
    style_ = font->style_;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont font(name_);
    font.setPointSize(size_);
    font.setBold(style_.testFlag(fsBold));
    font.setItalic(style_.testFlag(fsItalic));
    font.setUnderline(style_.testFlag(fsUnderline));
    font.setStrikeOut(style_.testFlag(fsStrikeOut));
    return font;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

}  // namespace tk
