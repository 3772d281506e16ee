// Paints the toolkit's image strips (toolkit/ui/bitmaps/*.png), which are
// checked in and compiled into the toolkit as resources. Run it again after
// changing a drawing here:
//
//     build/bin/paint_strips toolkit/ui/bitmaps
//
// Indicators: 20 glyphs of 16 x 16 on clOlive (the mask colour), dark with
// a light rim so that they read on light and dark fixed cells. Markers: 20
// sort triangles of 16 x 16 drawn in the five key colours the grid
// recolours (aqua highlight, teal light, blue shadow, navy dark, lime
// background); image 2k ascends, 2k + 1 descends, k > 0 carries the digit
// k. Check boxes: 9 boxes of 13 x 13 on clOlive, a white box with a dark
// frame holding nothing, a mark, or a grey mark (check, cross, square).

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <functional>

namespace {

const QColor kOlive(128, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);
const QColor kInk(24, 24, 24);
const QColor kRim(244, 244, 244);
const QColor kGrey(128, 128, 128);

// A 16 x 16 shape as a set of pixels.
class TShape {
public:
    void Set(int x, int y)
    {
        if (x >= 0 && x < 16 && y >= 0 && y < 16)
            on_[y][x] = true;
    }
    void Fill(int left, int top, int width, int height)
    {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                Set(x, y);
    }
    // A line of square pixels, thickness pixels wide down and right.
    void Line(int x0, int y0, int x1, int y1, int thickness = 1)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = x0 + (steps ? (x1 - x0) * i / steps : 0);
            const int y = y0 + (steps ? (y1 - y0) * i / steps : 0);
            Fill(x, y, thickness, thickness);
        }
    }
    bool At(int x, int y) const { return x >= 0 && x < 16 && y >= 0 && y < 16 && on_[y][x]; }

private:
    bool on_[16][16] = {};
};

// Paints shape in ink with a one-pixel rim around it, on olive.
void PaintGlyph(QImage& strip, int index, const TShape& shape)
{
    const int left = index * 16;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QColor color = kOlive;
            if (shape.At(x, y)) {
                color = kInk;
            } else {
                for (int dy = -1; dy <= 1 && color == kOlive; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx == 0 || dy == 0) && shape.At(x + dx, y + dy))
                            color = kRim;
            }
            strip.setPixelColor(left + x, y, color);
        }
    }
}

// Right-pointing triangle with its left side at x, rows top .. top + 2*half.
void RightTriangle(TShape& shape, int x, int top, int half)
{
    for (int row = 0; row <= 2 * half; ++row)
        shape.Fill(x, top + row, half + 1 - std::abs(row - half), 1);
}

void LeftTriangle(TShape& shape, int right, int top, int half)
{
    for (int row = 0; row <= 2 * half; ++row) {
        const int width = half + 1 - std::abs(row - half);
        shape.Fill(right - width + 1, top + row, width, 1);
    }
}

void DownTriangle(TShape& shape, int left, int top, int half)
{
    for (int row = 0; row <= half; ++row)
        shape.Fill(left + row, top + row, 2 * (half - row) + 1, 1);
}

void UpTriangle(TShape& shape, int left, int bottom, int half)
{
    for (int row = 0; row <= half; ++row)
        shape.Fill(left + row, bottom - row, 2 * (half - row) + 1, 1);
}

void Disc(TShape& shape, int cx, int cy, int radius)
{
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= radius * radius + radius / 2)
                shape.Set(cx + x, cy + y);
}

void Ring(TShape& shape, int cx, int cy, int radius)
{
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x) {
            const int d = x * x + y * y;
            if (d <= radius * radius + radius && d >= (radius - 1) * (radius - 1))
                shape.Set(cx + x, cy + y);
        }
}

void Frame(TShape& shape, int left, int top, int size)
{
    shape.Fill(left, top, size, 1);
    shape.Fill(left, top + size - 1, size, 1);
    shape.Fill(left, top, 1, size);
    shape.Fill(left + size - 1, top, 1, size);
}

QImage Indicators()
{
    QImage strip(20 * 16, 16, QImage::Format_RGB32);
    const std::function<void(TShape&)> glyphs[20] = {
        [](TShape& s) { RightTriangle(s, 6, 3, 4); },  // 0 current row
        [](TShape& s) {                                // 1 I-beam
            s.Fill(5, 3, 2, 1);
            s.Fill(9, 3, 2, 1);
            s.Fill(7, 4, 2, 8);
            s.Fill(5, 12, 2, 1);
            s.Fill(9, 12, 2, 1);
        },
        [](TShape& s) {  // 2 asterisk
            s.Fill(7, 3, 2, 10);
            s.Line(4, 5, 10, 9, 2);
            s.Line(4, 9, 10, 5, 2);
        },
        [](TShape& s) { Disc(s, 7, 7, 2); },  // 3 selected row
        [](TShape& s) {                       // 4 current and selected
            RightTriangle(s, 3, 3, 4);
            Disc(s, 11, 7, 1);
        },
        [](TShape& s) { DownTriangle(s, 3, 5, 5); },  // 5 large down triangle
        [](TShape& s) { Frame(s, 4, 4, 8); },         // 6 selection anchor
        [](TShape& s) {                               // 7 anchor on a selected row
            Frame(s, 4, 4, 8);
            s.Fill(7, 7, 2, 2);
        },
        [](TShape& s) { UpTriangle(s, 5, 9, 3); },     // 8 small up
        [](TShape& s) { DownTriangle(s, 5, 6, 3); },   // 9 small down
        [](TShape& s) { LeftTriangle(s, 9, 4, 3); },   // 10 small left
        [](TShape& s) { RightTriangle(s, 6, 4, 3); },  // 11 small right
        [](TShape& s) {                                // 12 check mark
            s.Line(3, 7, 6, 10, 2);
            s.Line(6, 10, 11, 4, 2);
        },
        [](TShape& s) {  // 13 cross
            s.Line(4, 4, 10, 10, 2);
            s.Line(4, 10, 10, 4, 2);
        },
        [](TShape& s) { s.Fill(4, 4, 8, 8); },       // 14 square
        [](TShape& s) { Ring(s, 7, 7, 4); },         // 15 circle
        [](TShape& s) { UpTriangle(s, 2, 11, 5); },  // 16 triangle
        [](TShape& s) {                              // 17 plus
            s.Fill(3, 7, 10, 2);
            s.Fill(7, 3, 2, 10);
        },
        [](TShape& s) { s.Fill(3, 7, 10, 2); },  // 18 minus
        [](TShape& s) {                          // 19 exclamation mark
            s.Fill(7, 2, 2, 8);
            s.Fill(7, 12, 2, 2);
        },
    };
    for (int i = 0; i < 20; ++i) {
        TShape shape;
        glyphs[i](shape);
        PaintGlyph(strip, i, shape);
    }
    return strip;
}

// 3 x 5 pixel digits, rows top to bottom, bit 2 = left column.
constexpr int kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// One sort triangle, six rows from y = 5, centred on column centre; lit
// from the top left: highlight and light on the left and top, shadow and
// dark on the right and bottom.
void PaintMarker(QImage& strip, int index, int centre, bool ascending)
{
    const int left = index * 16;
    auto put = [&](int x, int y, const QColor& color) { strip.setPixelColor(left + x, y, color); };
    for (int row = 0; row < 6; ++row) {
        const int half = ascending ? row : 5 - row;
        const int from = centre - half;
        const int to = centre + half;
        const int y = 5 + row;
        for (int x = from; x <= to; ++x) {
            QColor color = kLime;
            const bool edgeRow = ascending ? row == 5 : row == 0;
            if (x == from && from == to)
                color = ascending ? kAqua : kNavy;
            else if (edgeRow)
                color = ascending ? (x == from ? kAqua : kNavy) : (x == to ? kNavy : kAqua);
            else if (x == from)
                color = kAqua;
            else if (x == to)
                color = kNavy;
            else if (x == from + 1)
                color = kTeal;
            else if (x == to - 1)
                color = kBlue;
            else if (ascending && row == 4)
                color = kBlue;
            else if (!ascending && row == 1)
                color = kTeal;
            put(x, y, color);
        }
    }
}

QImage Markers()
{
    QImage strip(20 * 16, 16, QImage::Format_RGB32);
    strip.fill(kLime);
    for (int k = 0; k < 10; ++k) {
        for (int descending = 0; descending < 2; ++descending) {
            const int index = 2 * k + descending;
            PaintMarker(strip, index, k == 0 ? 7 : 5, descending == 0);
            if (k == 0)
                continue;
            for (int row = 0; row < 5; ++row)
                for (int column = 0; column < 3; ++column)
                    if (kDigits[k][row] & (4 >> column))
                        strip.setPixelColor(index * 16 + 12 + column, 6 + row, kNavy);
        }
    }
    return strip;
}

QImage CheckBoxes()
{
    QImage strip(9 * 13, 13, QImage::Format_RGB32);
    strip.fill(kOlive);
    const QColor frame(64, 64, 64);
    for (int index = 0; index < 9; ++index) {
        const int left = index * 13;
        auto put = [&](int x, int y, const QColor& color) { strip.setPixelColor(left + x, y, color); };
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x)
                put(x, y, (x == 0 || y == 0 || x == 12 || y == 12) ? frame : QColor(Qt::white));
        const int state = index % 3;  // 0 empty, 1 set, 2 greyed
        if (state == 0)
            continue;
        const QColor mark = state == 1 ? QColor(Qt::black) : kGrey;
        switch (index / 3) {
        case 0:  // check mark, two pixels thick
            for (int i = 0; i < 3; ++i) {
                put(3 + i, 5 + i, mark);
                put(3 + i, 6 + i, mark);
                put(3 + i, 7 + i, mark);
            }
            for (int i = 0; i < 4; ++i) {
                put(6 + i, 6 - i, mark);
                put(6 + i, 7 - i, mark);
                put(6 + i, 8 - i, mark);
            }
            break;
        case 1:  // cross
            for (int i = 0; i < 7; ++i) {
                put(3 + i, 3 + i, mark);
                put(4 + i, 3 + i, mark);
                put(9 - i, 3 + i, mark);
                put(8 - i, 3 + i, mark);
            }
            break;
        default:  // square
            for (int y = 3; y <= 9; ++y)
                for (int x = 3; x <= 9; ++x)
                    put(x, y, mark);
            break;
        }
    }
    return strip;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_strips <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = Indicators().save(folder.filePath(QStringLiteral("KELDBINDICATORS.png"))) &&
                    Markers().save(folder.filePath(QStringLiteral("KELDBMARKERS.png"))) &&
                    CheckBoxes().save(folder.filePath(QStringLiteral("KELDBCHECKBOXES.png")));
    if (!ok) {
        std::fprintf(stderr, "paint_strips: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
