#include "toolkit/ui/graphics.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPalette>

namespace tk {

namespace {

template <typename T> bool StoreIfChanged(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

QColor PaletteColor(TColor color, const QPalette& palette)
{
    return ColorToQColor(color, palette);
}

}  // namespace

// --- TFont -----------------------------------------------------------------------

TFont::TFont(QObject* parent) : TPersistent(parent)
{
    // Fonts are mostly made with the defaults and compared at once: the
    // handle of the default attributes is looked up once per process.
    static const quintptr defaultHandle = Handle();
    handle_ = defaultHandle;
    handleVersion_ = version_;
}

void TFont::SetName(const QString& name)
{
    if (StoreIfChanged(name_, name))
        Changed();
}

void TFont::SetSize(int size)
{
    if (size > 0 && StoreIfChanged(size_, size))
        Changed();
}

int TFont::Height() const
{
    return -((size_ * 96 + 36) / 72);
}

void TFont::SetHeight(int height)
{
    const int pixels = height < 0 ? -height : height;
    if (pixels == 0)
        return;
    SetSize(std::max(1, (pixels * 72 + 48) / 96));
}

void TFont::SetColor(TColor color)
{
    if (StoreIfChanged(color_, color))
        Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    if (StoreIfChanged(style_, style))
        Changed();
}

void TFont::SetCharset(int charset)
{
    if (StoreIfChanged(charset_, charset))
        Changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (StoreIfChanged(pitch_, pitch))
        Changed();
}

void TFont::Assign(const TPersistent* source)
{
    const auto* font = qobject_cast<const TFont*>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    // Equal attributes, equal handle: a copy of a font whose handle is known
    // takes it for the version Changed() makes (an OnChange that changes the
    // font again moves past it).
    const bool handleKnown = font->handle_ != 0 && font->handleVersion_ == font->version_;
    name_ = font->name_;
    size_ = font->size_;
    color_ = font->color_;
    style_ = font->style_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    if (handleKnown) {
        handle_ = font->handle_;
        handleVersion_ = version_ + 1;
    }
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
    if (pitch_ == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

quintptr TFont::Handle() const
{
    // Grids compare handles of many fonts on every layout: the number is
    // looked up once per version of the attributes.
    if (handle_ != 0 && handleVersion_ == version_)
        return handle_;
    // One number per distinct set of attributes, handed out in order.
    static QMutex mutex;
    static QHash<QString, quintptr> handles;
    const QChar bar = QLatin1Char('|');
    const QString key = name_.toLower() + bar + QString::number(size_) + bar + QString::number(int(style_)) +
                        bar + QString::number(int(color_)) + bar + QString::number(charset_) + bar +
                        QString::number(int(pitch_));
    QMutexLocker lock(&mutex);
    auto found = handles.constFind(key);
    if (found == handles.constEnd())
        found = handles.insert(key, static_cast<quintptr>(handles.size()) + 1);
    handle_ = found.value();
    handleVersion_ = version_;
    return handle_;
}

void TFont::Changed()
{
    ++version_;
    if (OnChange)
        OnChange();
}

// --- TBrush ----------------------------------------------------------------------

TBrush::TBrush(QObject* parent) : TPersistent(parent) {}

void TBrush::SetColor(TColor color)
{
    bool changed = StoreIfChanged(color_, color);
    if (style_ == bsClear) {
        style_ = bsSolid;
        changed = true;
    }
    if (changed)
        Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (StoreIfChanged(style_, style))
        Changed();
}

void TBrush::Assign(const TPersistent* source)
{
    const auto* brush = qobject_cast<const TBrush*>(source);
    if (!brush) {
        TPersistent::Assign(source);
        return;
    }
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
}

QBrush TBrush::ToQBrush(const QPalette& palette) const
{
    const QColor color = PaletteColor(color_, palette);
    if (style_ == bsClear || !color.isValid())
        return QBrush(Qt::NoBrush);
    static constexpr Qt::BrushStyle kStyles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                                 Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(color, kStyles[style_]);
}

void TBrush::Changed()
{
    if (OnChange)
        OnChange();
}

// --- TPen ------------------------------------------------------------------------

TPen::TPen(QObject* parent) : TPersistent(parent) {}

void TPen::SetColor(TColor color)
{
    if (StoreIfChanged(color_, color))
        Changed();
}

void TPen::SetWidth(int width)
{
    if (StoreIfChanged(width_, std::max(1, width)))
        Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (StoreIfChanged(style_, style))
        Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (StoreIfChanged(mode_, mode))
        Changed();
}

void TPen::Assign(const TPersistent* source)
{
    const auto* pen = qobject_cast<const TPen*>(source);
    if (!pen) {
        TPersistent::Assign(source);
        return;
    }
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

QPen TPen::ToQPen(const QPalette& palette) const
{
    const QColor color = PaletteColor(color_, palette);
    if (style_ == psClear || !color.isValid())
        return QPen(Qt::NoPen);
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                               Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                               Qt::SolidLine};
    QPen pen(color, width_, kStyles[style_]);
    // Flat caps leave out a line's end point, as the platform's lines do.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void TPen::Changed()
{
    if (OnChange)
        OnChange();
}

}  // namespace tk
