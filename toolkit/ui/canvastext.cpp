// TCanvas's text operations: measuring, TextOut, TextRect and DrawText's
// line layout (prefixes, word breaks, ellipsis, alignment).

#include "toolkit/ui/canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QRegularExpression>

namespace tk {

namespace {

struct TTextLine {
    QString text;
    int underline = -1;  // index of the character "&" marked, or -1
};

// "&x" marks x, "&&" is a literal "&", a trailing "&" is dropped.
TTextLine WithoutPrefix(const QString& text)
{
    TTextLine line;
    line.text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            if (text[i] != QLatin1Char('&'))
                line.underline = static_cast<int>(line.text.size());
        } else if (text[i] == QLatin1Char('&')) {
            continue;
        }
        line.text += text[i];
    }
    return line;
}

// Breaks one paragraph between words so that each line fits width; a word
// wider than width gets a line of its own.
QVector<TTextLine> WrapParagraph(const TTextLine& paragraph, int width, const QFontMetrics& metrics)
{
    QVector<TTextLine> lines;
    const QString& text = paragraph.text;
    const qsizetype length = text.size();
    qsizetype start = 0;
    do {
        qsizetype fitEnd = -1;
        qsizetype scan = start;
        while (true) {
            qsizetype wordEnd = scan;
            while (wordEnd < length && text[wordEnd] != QLatin1Char(' '))
                ++wordEnd;
            if (fitEnd >= 0 && metrics.horizontalAdvance(text.mid(start, wordEnd - start)) > width)
                break;
            fitEnd = wordEnd;
            if (wordEnd >= length)
                break;
            scan = wordEnd;
            while (scan < length && text[scan] == QLatin1Char(' '))
                ++scan;
            if (scan >= length)
                break;
        }
        TTextLine line{text.mid(start, fitEnd - start), -1};
        if (paragraph.underline >= start && paragraph.underline < fitEnd)
            line.underline = static_cast<int>(paragraph.underline - start);
        lines.push_back(line);
        start = fitEnd;
        while (start < length && text[start] == QLatin1Char(' '))
            ++start;
    } while (start < length);
    return lines;
}

QVector<TTextLine> LayOut(const QString& text, int width, unsigned flags, const QFontMetrics& metrics)
{
    QString source = text;
    if (flags & dtExpandTabs)
        source.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
    QStringList paragraphs;
    if (flags & dtSingleLine)
        paragraphs << QString(source).replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")),
                                              QStringLiteral(" "));
    else
        paragraphs = source.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));

    QVector<TTextLine> lines;
    for (const QString& paragraph : paragraphs) {
        const TTextLine plain = (flags & dtNoPrefix) ? TTextLine{paragraph, -1} : WithoutPrefix(paragraph);
        if ((flags & dtWordBreak) && !(flags & dtSingleLine))
            lines += WrapParagraph(plain, width, metrics);
        else
            lines.push_back(plain);
    }
    if (flags & dtEndEllipsis) {
        for (TTextLine& line : lines) {
            if (metrics.horizontalAdvance(line.text) <= width)
                continue;
            line.text = metrics.elidedText(line.text, Qt::ElideRight, width);
            if (line.underline >= line.text.size() - 1)
                line.underline = -1;
        }
    }
    return lines;
}

// The text Qt draws: "&" marks the underlined character, others doubled.
QString ForQt(const TTextLine& line, int* qtFlags)
{
    if (line.underline < 0)
        return line.text;
    *qtFlags |= Qt::TextShowMnemonic;
    QString marked;
    for (qsizetype i = 0; i < line.text.size(); ++i) {
        if (i == line.underline)
            marked += QLatin1Char('&');
        else if (line.text[i] == QLatin1Char('&'))
            marked += QLatin1Char('&');
        marked += line.text[i];
    }
    return marked;
}

}  // namespace

namespace {

QFontMetrics MetricsFor(const TFont& font, QPaintDevice* device)
{
    return device ? QFontMetrics(font.ToQFont(), device) : QFontMetrics(font.ToQFont());
}

}  // namespace

int TCanvas::TextWidth(const QString& text) const
{
    return TextExtent(text).width();
}

int TCanvas::TextHeight(const QString& /*text*/) const
{
    // The line height of the font, whatever the text: measuring the text's
    // width as well would shape it for nothing.
    QPaintDevice* device = borrowed_ ? borrowed_->device() : device_;
    return MetricsFor(*font_, device).height();
}

QSize TCanvas::TextExtent(const QString& text) const
{
    QPaintDevice* device = borrowed_ ? borrowed_->device() : device_;
    const QFontMetrics metrics = MetricsFor(*font_, device);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QSize extent = TextExtent(text);
    TextRect(QRect(QPoint(x, y), extent), x, y, text);
}

void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    QPainter* painter = Painter();
    if (!painter)
        return;
    FillRect(rect);
    painter->save();
    // Text is laid out unmirrored at its mirrored place, so it stays readable.
    painter->setWorldTransform(base_);
    const QRect clip = DeviceRect(rect);
    painter->setClipRect(clip, Qt::IntersectClip);
    painter->setFont(font_->ToQFont());
    painter->setPen(ToQColor(font_->Color()));
    // The text's own rectangle matters only on a mirrored canvas, where its
    // place depends on its width. Unmirrored, its top-left corner places it
    // (it is not clipped to that rectangle), and measuring it would shape the
    // text once more than drawing does.
    const QRect at = mirrored_ ? DeviceRect(QRect(QPoint(x, y), TextExtent(text))) : QRect(x, y, 0, 0);
    painter->drawText(
        at, Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    painter->restore();
}

int TCanvas::DrawText(const QString& text, QRect& rect, unsigned flags)
{
    if (text.isEmpty()) {
        if (flags & dtCalcRect)
            rect.setSize(QSize(0, 0));
        return 0;
    }
    QPaintDevice* device = borrowed_ ? borrowed_->device() : device_;
    const QFontMetrics metrics = MetricsFor(*font_, device);
    const QVector<TTextLine> lines = LayOut(text, rect.width(), flags, metrics);
    const int lineHeight = metrics.height();
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    if (flags & dtCalcRect) {
        int widest = 0;
        for (const TTextLine& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line.text));
        rect.setSize(QSize(widest, textHeight));
        return textHeight;
    }
    QPainter* painter = Painter();
    if (!painter)
        return textHeight;

    int top = rect.top();
    if (flags & dtSingleLine) {
        if (flags & dtVCenter)
            top = rect.top() + (rect.height() - lineHeight) / 2;
        else if (flags & dtBottom)
            top = rect.bottom() + 1 - lineHeight;
    }
    painter->save();
    painter->setWorldTransform(base_);
    if (!(flags & dtNoClip))
        painter->setClipRect(DeviceRect(rect), Qt::IntersectClip);
    painter->setFont(font_->ToQFont());
    painter->setPen(ToQColor(font_->Color()));
    painter->setLayoutDirection((flags & dtRtlReading) ? Qt::RightToLeft : Qt::LeftToRight);
    for (const TTextLine& line : lines) {
        const int width = metrics.horizontalAdvance(line.text);
        int left = rect.left();
        if (flags & dtCenter)
            left = rect.left() + (rect.width() - width) / 2;
        else if (flags & dtRight)
            left = rect.right() + 1 - width;
        int qtFlags =
            Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
        const QString drawn = ForQt(line, &qtFlags);
        painter->drawText(DeviceRect(QRect(left, top, width, lineHeight)), qtFlags, drawn);
        top += lineHeight;
    }
    painter->restore();
    return textHeight;
}

}  // namespace tk
