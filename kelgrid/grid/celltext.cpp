// Text in a grid cell (see the header for the rules).

#include "kelgrid/grid/celltext.h"

#include "toolkit/ui/canvas.h"

#include <QFontMetrics>
#include <algorithm>

namespace kelgrid {

namespace {

const QString kLineMeasure = QStringLiteral("Wg");

// Greedy breaking between words; a word wider than width stays whole on its
// own line (the ellipsis cuts it later).
QStringList WrapParagraph(const QFontMetrics& metrics, const QString& paragraph, int width)
{
    QStringList lines;
    const QStringList words = paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        lines << line;
        line = word;
    }
    lines << line;
    return lines;
}

// The lines of CellTextLines, from the font's metrics and line height as
// the caller has them: a grid draws thousands of cells a paint, and each
// look-up of the font costs more than the layout of a short text.
QStringList LayOutLines(const QFontMetrics& metrics, int lineHeight, const QSize& cell, const QString& text,
                        const TCellTextFormat& format)
{
    const int width = std::max(0, cell.width() - 2 * format.margin);
    QStringList lines;
    if (format.wordWrap) {
        QString flat = text;
        flat.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& paragraph : flat.split(QLatin1Char('\n')))
            lines << WrapParagraph(metrics, paragraph, width);
    } else {
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    const int capacity = CellTextCapacity(cell.height(), format.margin, lineHeight);
    if (lines.size() > capacity) {
        // The last line shown carries what is cut off, so its ellipsis says so.
        QString rest = lines.mid(capacity - 1).join(QLatin1Char(' '));
        lines = lines.mid(0, capacity - 1);
        lines << (format.ellipsis ? metrics.elidedText(rest + QStringLiteral(" \u2026"), Qt::ElideRight, width)
                                  : rest);
    }
    if (format.ellipsis)
        for (QString& line : lines)
            if (metrics.horizontalAdvance(line) > width)
                line = metrics.elidedText(line, Qt::ElideRight, width);
    return lines;
}

}  // namespace

int CellTextCapacity(int height, int margin, int lineHeight)
{
    if (lineHeight <= 0)
        return 1;
    return std::max(1, (height - 2 * margin + 1) / lineHeight);
}

QStringList CellTextLines(const tk::TCanvas& canvas, const QSize& cell, const QString& text,
                          const TCellTextFormat& format)
{
    if (text.isEmpty())
        return {};
    return LayOutLines(QFontMetrics(canvas.Font()->ToQFont()), canvas.TextHeight(kLineMeasure), cell, text, format);
}

void DrawCellText(tk::TCanvas& canvas, const QRect& rect, const QString& text, const TCellTextFormat& format,
                  const QRect& clip)
{
    if (text.isEmpty() || rect.isEmpty() || !canvas.CanDraw())
        return;
    const int lineHeight = canvas.TextHeight(kLineMeasure);
    const QStringList lines =
        LayOutLines(QFontMetrics(canvas.Font()->ToQFont()), lineHeight, rect.size(), text, format);
    int top = rect.top() + format.margin;
    const int capacity = (rect.height() - 2 * format.margin + 1) / std::max(1, lineHeight);
    if (capacity > 0) {
        const int free = rect.height() - 2 * format.margin - static_cast<int>(lines.size()) * lineHeight;
        if (format.vAlignment == tvCenter)
            top += std::max(0, free / 2);
        else if (format.vAlignment == tvBottomJustify)
            top += std::max(0, free);
    }
    tk::TAlignment alignment = format.alignment;
    if (format.keepAlignment && canvas.Mirrored() && alignment != tk::taCenter)
        alignment = alignment == tk::taLeftJustify ? tk::taRightJustify : tk::taLeftJustify;

    const tk::TBrush::TBrushStyle brushStyle = canvas.Brush()->Style();
    canvas.Brush()->SetStyle(tk::TBrush::bsClear);
    const QRect clipRect = clip.isEmpty() ? rect : clip.intersected(rect);
    for (const QString& line : lines) {
        // Only a line placed by its width is measured (shaping it again).
        int x = rect.left() + format.margin;
        if (alignment == tk::taRightJustify)
            x = rect.left() + rect.width() - canvas.TextWidth(line) - format.margin - 1;
        else if (alignment == tk::taCenter)
            x = rect.left() + rect.width() / 2 - canvas.TextWidth(line) / 2;
        canvas.TextRect(clipRect, x, top, line);
        top += lineHeight;
    }
    canvas.Brush()->SetStyle(brushStyle);
}

}  // namespace kelgrid
