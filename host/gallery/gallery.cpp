// Renders every drawing primitive, themed element and image strip of the
// toolkit into PNG files, so that a person can look at them:
//
//     QT_QPA_PLATFORM=offscreen build/bin/gallery <folder>
//
// Writes colors.png, primitives.png, text.png, edges.png, themes.png,
// strips.png and hints.png; each sample is labelled. Themes and strips are
// drawn on a light and on a dark palette. Exit code 0 when every file was written.

#include "toolkit/core/localefacts.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/hintwindow.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/sysinfo.h"
#include "toolkit/ui/themes.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPalette>
#include <QScopedValueRollback>
#include <QStyle>
#include <cstdio>
#include <functional>

namespace {

using namespace tk;

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Light, QColor(110, 110, 116));
    dark.setColor(QPalette::Midlight, QColor(85, 85, 90));
    dark.setColor(QPalette::Mid, QColor(50, 50, 54));
    dark.setColor(QPalette::Dark, QColor(30, 30, 32));
    dark.setColor(QPalette::Shadow, QColor(10, 10, 10));
    dark.setColor(QPalette::Highlight, QColor(38, 110, 200));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 40));
    dark.setColor(QPalette::ToolTipText, QColor(240, 240, 220));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return dark;
}

// An image with a canvas and a cursor that lays samples out in rows.
class TSheet {
public:
    TSheet(int width, int height, const QPalette& palette) : image_(width, height, QImage::Format_RGB32)
    {
        image_.fill(palette.color(QPalette::Window));
        canvas_ = std::make_unique<TCanvas>(&image_);
        canvas_->SetPalette(palette);
        canvas_->Font()->SetName(QStringLiteral("DejaVu Sans"));
        canvas_->Font()->SetSize(8);
    }

    TCanvas& Canvas() { return *canvas_; }

    // Labels a cell of cellWidth x cellHeight and calls paint with its
    // sample rectangle (below the label).
    void Sample(const QString& label, int cellWidth, int cellHeight,
                const std::function<void(const QRect&)>& paint)
    {
        if (x_ + cellWidth > image_.width()) {
            x_ = kMargin;
            y_ += rowHeight_ + kMargin;
            rowHeight_ = 0;
        }
        TCanvas& canvas = *canvas_;
        canvas.Font()->SetColor(clWindowText);
        QRect labelRect(x_, y_, cellWidth, 14);
        canvas.DrawText(label, labelRect, dtLeft | dtSingleLine | dtNoPrefix | dtEndEllipsis);
        const QRect sample(x_, y_ + 16, cellWidth, cellHeight);
        paint(sample);
        x_ += cellWidth + kMargin;
        rowHeight_ = std::max(rowHeight_, cellHeight + 16);
    }
    void NewRow()
    {
        x_ = kMargin;
        y_ += rowHeight_ + kMargin;
        rowHeight_ = 0;
    }
    bool Save(const QDir& folder, const QString& name)
    {
        canvas_->Release();
        const QImage used =
            image_.copy(0, 0, image_.width(), std::min(image_.height(), y_ + rowHeight_ + kMargin));
        return used.save(folder.filePath(name));
    }

private:
    static constexpr int kMargin = 8;
    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
    int x_ = kMargin;
    int y_ = kMargin;
    int rowHeight_ = 0;
};

bool Colors(const QDir& folder)
{
    TSheet sheet(900, 600, QApplication::palette());
    const TColor colors[] = {clScrollBar,
                             clBackground,
                             clActiveCaption,
                             clInactiveCaption,
                             clMenu,
                             clWindow,
                             clWindowFrame,
                             clMenuText,
                             clWindowText,
                             clCaptionText,
                             clActiveBorder,
                             clInactiveBorder,
                             clAppWorkSpace,
                             clHighlight,
                             clHighlightText,
                             clBtnFace,
                             clBtnShadow,
                             clGrayText,
                             clBtnText,
                             clInactiveCaptionText,
                             clBtnHighlight,
                             cl3DDkShadow,
                             cl3DLight,
                             clInfoText,
                             clInfoBk,
                             clHotLight,
                             clGradientActiveCaption,
                             clGradientInactiveCaption,
                             clMenuHighlight,
                             clMenuBar,
                             clBlack,
                             clWhite,
                             clSilver,
                             clGray,
                             clLightGray,
                             clOlive,
                             clAqua,
                             clTeal,
                             clBlue,
                             clNavy,
                             clLime};
    for (TColor color : colors) {
        sheet.Sample(ColorToString(color), 140, 24, [&](const QRect& r) {
            sheet.Canvas().Brush()->SetColor(color);
            sheet.Canvas().FillRect(r);
            sheet.Canvas().Brush()->SetColor(clBlack);
            sheet.Canvas().FrameRect(r);
        });
    }
    sheet.NewRow();
    for (int delta : {-50, -25, 0, 25, 50}) {
        sheet.Sample(QStringLiteral("Shade(clBtnFace, %1)").arg(delta), 140, 24, [&](const QRect& r) {
            sheet.Canvas().Brush()->SetColor(Shade(clBtnFace, delta));
            sheet.Canvas().FillRect(r);
        });
    }
    return sheet.Save(folder, QStringLiteral("colors.png"));
}

bool Primitives(const QDir& folder)
{
    TSheet sheet(900, 700, QApplication::palette());
    TCanvas& c = sheet.Canvas();
    sheet.Sample(QStringLiteral("FillRect"), 100, 60, [&](const QRect& r) {
        c.Brush()->SetColor(clHighlight);
        c.FillRect(r);
    });
    sheet.Sample(QStringLiteral("FrameRect"), 100, 60, [&](const QRect& r) {
        c.Brush()->SetColor(clRed);
        c.FrameRect(r);
    });
    sheet.Sample(QStringLiteral("Rectangle pen 2"), 100, 60, [&](const QRect& r) {
        c.Pen()->SetColor(clNavy);
        c.Pen()->SetWidth(2);
        c.Brush()->SetColor(clInfoBk);
        c.Rectangle(r);
        c.Pen()->SetWidth(1);
    });
    sheet.Sample(QStringLiteral("MoveTo/LineTo"), 100, 60, [&](const QRect& r) {
        c.Pen()->SetColor(clWindowText);
        for (int i = 0; i < 6; ++i) {
            c.MoveTo(r.left(), r.top() + i * 10);
            c.LineTo(r.left() + 20 + i * 15, r.top() + i * 10);
        }
    });
    sheet.Sample(QStringLiteral("Polyline, dashes"), 100, 60, [&](const QRect& r) {
        c.Pen()->SetStyle(TPen::psDash);
        c.Polyline({r.topLeft(), r.center(), r.topRight(), r.bottomRight()});
        c.Pen()->SetStyle(TPen::psSolid);
    });
    sheet.Sample(QStringLiteral("Polygon"), 100, 60, [&](const QRect& r) {
        c.Brush()->SetColor(clLime);
        c.Pen()->SetColor(clGreen);
        c.Polygon({QPoint(r.center().x(), r.top()), r.bottomRight(), r.bottomLeft()});
    });
    sheet.NewRow();
    sheet.Sample(QStringLiteral("Gradient horizontal"), 140, 60, [&](const QRect& r) {
        c.GradientFill(r, clWindow, Shade(clBtnFace, -25), TGradientDirection::gdHorizontal);
    });
    sheet.Sample(QStringLiteral("Gradient vertical"), 140, 60, [&](const QRect& r) {
        c.GradientFill(r, clWindow, Shade(clHighlight, -25), TGradientDirection::gdVertical);
    });
    sheet.Sample(QStringLiteral("DrawFocusRect"), 100, 60, [&](const QRect& r) {
        c.Brush()->SetColor(clWindow);
        c.FillRect(r);
        DrawFocusRect(c, r.adjusted(4, 4, -4, -4));
    });
    sheet.Sample(QStringLiteral("Clip, exclude"), 140, 60, [&](const QRect& r) {
        c.SetClipRect(r);
        c.ExcludeClipRect(QRect(r.left() + 40, r.top() + 15, 60, 30));
        c.Brush()->SetColor(clTeal);
        c.FillRect(r.adjusted(-10, -10, 10, 10));
        c.ResetClip();
    });
    sheet.Sample(QStringLiteral("Mirrored + unmirrored cell"), 200, 60, [&](const QRect& r) {
        c.Brush()->SetColor(clWindow);
        c.FillRect(r);
        // Mirror around the sample: its logical left edge lands on the right.
        c.SetMirrored(true, 2 * r.left() + r.width());
        c.Brush()->SetColor(clHighlight);
        c.FillRect(QRect(r.left(), r.top(), 40, 20));
        c.Font()->SetColor(clWindowText);
        c.TextOut(r.left() + 2, r.top() + 24, QStringLiteral("mirrored text"));
        {
            TUnmirroredCell cell(c, QRect(r.left(), r.top() + 40, 60, 20));
            c.Brush()->SetColor(clInfoBk);
            c.FillRect(cell.Rect());
        }
        c.SetMirrored(false, 0);
    });
    sheet.NewRow();
    TBitmap picture;
    picture.SetSize(24, 24);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(QRect(0, 0, 24, 24));
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(QRect(4, 4, 16, 16));
    picture.Canvas()->Brush()->SetColor(clYellow);
    picture.Canvas()->FillRect(QRect(8, 8, 8, 8));
    sheet.Sample(QStringLiteral("Draw"), 60, 40, [&](const QRect& r) { c.Draw(r.left(), r.top(), picture); });
    sheet.Sample(QStringLiteral("StretchDraw"), 100, 40, [&](const QRect& r) { c.StretchDraw(r, picture); });
    sheet.Sample(QStringLiteral("Transparent draw"), 60, 40, [&](const QRect& r) {
        picture.SetTransparent(true);
        picture.SetTransparentColor(clFuchsia);
        c.Draw(r.left(), r.top(), picture);
        picture.SetTransparent(false);
    });
    sheet.Sample(QStringLiteral("CopyRect x2"), 100, 40, [&](const QRect& r) {
        TBitmap copy;
        copy.SetSize(24, 24);
        copy.Canvas()->Draw(0, 0, picture);
        c.CopyRect(QRect(r.left(), r.top(), 48, 40), *copy.Canvas(), QRect(0, 0, 24, 20));
    });
    sheet.Sample(QStringLiteral("Monochrome"), 60, 40, [&](const QRect& r) {
        TBitmap mono;
        mono.Assign(&picture);
        mono.SetTransparent(true);
        mono.SetTransparentColor(clFuchsia);
        mono.SetMonochrome(true);
        mono.SetTransparent(false);
        c.Draw(r.left(), r.top(), mono);
    });
    return sheet.Save(folder, QStringLiteral("primitives.png"));
}

bool Text(const QDir& folder)
{
    TSheet sheet(900, 600, QApplication::palette());
    TCanvas& c = sheet.Canvas();
    const QString longText = QStringLiteral("The quick brown fox jumps over the lazy dog");
    struct TTextSample {
        const char* label;
        unsigned flags;
        QString text;
    };
    const TTextSample samples[] = {
        {"left", dtLeft | dtSingleLine | dtVCenter, QStringLiteral("Left")},
        {"centre", dtCenter | dtSingleLine | dtVCenter, QStringLiteral("Centre")},
        {"right", dtRight | dtSingleLine | dtVCenter, QStringLiteral("Right")},
        {"bottom", dtLeft | dtSingleLine | dtBottom, QStringLiteral("Bottom")},
        {"end ellipsis", dtLeft | dtSingleLine | dtEndEllipsis, longText},
        {"word break", dtLeft | dtWordBreak, longText},
        {"word break, centre", dtCenter | dtWordBreak, longText},
        {"prefix &File", dtLeft | dtSingleLine, QStringLiteral("&File && more")},
        {"no prefix", dtLeft | dtSingleLine | dtNoPrefix, QStringLiteral("&File && more")},
        {"RTL reading", dtRight | dtSingleLine | dtRtlReading,
         QStringLiteral("\u05E9\u05DC\u05D5\u05DD abc")},
    };
    for (const TTextSample& sample : samples) {
        sheet.Sample(QLatin1String(sample.label), 150, 48, [&](const QRect& r) {
            c.Brush()->SetColor(clWindow);
            c.FillRect(r);
            QRect at = r;
            c.Font()->SetColor(clWindowText);
            c.DrawText(sample.text, at, sample.flags);
        });
    }
    sheet.Sample(QStringLiteral("calc rect (frame)"), 150, 48, [&](const QRect& r) {
        c.Brush()->SetColor(clWindow);
        c.FillRect(r);
        QRect bounds = r;
        c.DrawText(longText, bounds, dtWordBreak | dtCalcRect);
        c.DrawText(longText, bounds, dtWordBreak);
        c.Brush()->SetColor(clRed);
        c.FrameRect(bounds);
    });
    sheet.Sample(QStringLiteral("TextOut opaque, TextRect"), 150, 48, [&](const QRect& r) {
        c.Brush()->SetColor(clInfoBk);
        c.Font()->SetColor(clInfoText);
        c.TextOut(r.left(), r.top(), QStringLiteral("TextOut"));
        c.Brush()->SetColor(clYellow);
        c.TextRect(QRect(r.left(), r.top() + 20, 40, 16), r.left(), r.top() + 20,
                   QStringLiteral("Clipped text"));
    });
    sheet.Sample(QStringLiteral("bold, italic, underline"), 150, 48, [&](const QRect& r) {
        c.Font()->SetStyle(TFont::fsBold | TFont::fsItalic | TFont::fsUnderline);
        c.Font()->SetColor(clWindowText);
        QRect at = r;
        c.DrawText(QStringLiteral("Styled"), at, dtSingleLine);
        c.Font()->SetStyle({});
    });
    return sheet.Save(folder, QStringLiteral("text.png"));
}

bool Edges(const QDir& folder)
{
    TSheet sheet(900, 700, QApplication::palette());
    TCanvas& c = sheet.Canvas();
    struct TEdgeSample {
        const char* label;
        unsigned edge;
    };
    const TEdgeSample edges[] = {{"raised outer", bdrRaisedOuter}, {"raised inner", bdrRaisedInner},
                                 {"sunken outer", bdrSunkenOuter}, {"sunken inner", bdrSunkenInner},
                                 {"raised", edgeRaised},           {"sunken", edgeSunken},
                                 {"etched", edgeEtched},           {"bump", edgeBump}};
    struct TFlagSample {
        const char* label;
        unsigned flags;
    };
    const TFlagSample flags[] = {{"", bfRect | bfMiddle},
                                 {" soft", bfRect | bfMiddle | bfSoft},
                                 {" flat", bfRect | bfMiddle | bfFlat},
                                 {" mono", bfRect | bfMono},
                                 {" top-left", bfTopLeft},
                                 {" bottom-right", bfBottomRight}};
    for (const TFlagSample& flag : flags) {
        for (const TEdgeSample& edge : edges) {
            sheet.Sample(QLatin1String(edge.label) + QLatin1String(flag.label), 98, 30, [&](const QRect& r) {
                QRect at = r;
                DrawEdge(c, at, edge.edge, flag.flags);
            });
        }
        sheet.NewRow();
    }
    struct TFrameSample {
        const char* label;
        TFrameControl kind;
        unsigned state;
    };
    const TFrameSample frames[] = {
        {"push button", TFrameControl::dfcButton, dfcsButtonPush},
        {"push pushed", TFrameControl::dfcButton, dfcsButtonPush | dfcsPushed},
        {"push flat", TFrameControl::dfcButton, dfcsButtonPush | dfcsFlat},
        {"combo arrow", TFrameControl::dfcScroll, dfcsScrollComboBox},
        {"combo pushed", TFrameControl::dfcScroll, dfcsScrollComboBox | dfcsPushed},
        {"combo flat", TFrameControl::dfcScroll, dfcsScrollComboBox | dfcsFlat},
        {"combo inactive", TFrameControl::dfcScroll, dfcsScrollComboBox | dfcsInactive},
    };
    for (const TFrameSample& frame : frames)
        sheet.Sample(QLatin1String(frame.label), 98, 20, [&](const QRect& r) {
            DrawFrameControl(c,
                             QRect(r.left(), r.top(), frame.kind == TFrameControl::dfcScroll ? 18 : 70, 20),
                             frame.kind, frame.state);
        });
    return sheet.Save(folder, QStringLiteral("edges.png"));
}

void ThemeRows(TSheet& sheet)
{
    TCanvas& c = sheet.Canvas();
    const std::pair<TThemedState, const char*> states[] = {{TThemedState::tsNormal, "normal"},
                                                           {TThemedState::tsHot, "hot"},
                                                           {TThemedState::tsPressed, "pressed"},
                                                           {TThemedState::tsDisabled, "disabled"}};
    const std::pair<TThemedElement, const char*> elements[] = {{TThemedElement::teHeaderItem, "header"},
                                                               {TThemedElement::tePushButton, "button"},
                                                               {TThemedElement::teTabItem, "tab"},
                                                               {TThemedElement::teComboDropDown, "drop-down"},
                                                               {TThemedElement::teToolBarButton, "tool btn"}};
    for (const auto& [element, name] : elements) {
        for (const auto& [state, stateName] : states) {
            sheet.Sample(QStringLiteral("%1 %2").arg(QLatin1String(name), QLatin1String(stateName)), 100, 22,
                         [&](const QRect& r) {
                             const QRect at(r.left(), r.top(),
                                            element == TThemedElement::teComboDropDown ? 18 : 90, 22);
                             DrawThemedElement(c, {element, state}, at);
                         });
        }
        sheet.NewRow();
    }
    const std::pair<TThemedCheck, const char*> checks[] = {{TThemedCheck::tcUnchecked, "off"},
                                                           {TThemedCheck::tcChecked, "on"},
                                                           {TThemedCheck::tcMixed, "mixed"}};
    for (const auto& [check, checkName] : checks) {
        for (const auto& [state, stateName] : states) {
            sheet.Sample(
                QStringLiteral("check %1 %2").arg(QLatin1String(checkName), QLatin1String(stateName)), 100,
                16, [&](const QRect& r) {
                    const QSize size = ThemedPartSize({TThemedElement::teCheckBox});
                    DrawThemedElement(c, {TThemedElement::teCheckBox, state, check},
                                      QRect(r.topLeft(), size));
                });
        }
        sheet.NewRow();
    }
    sheet.Sample(QStringLiteral("tree closed"), 100, 16, [&](const QRect& r) {
        DrawThemedElement(c, {TThemedElement::teTreeGlyph, TThemedState::tsNormal, {}, false},
                          QRect(r.topLeft(), QSize(16, 16)));
    });
    sheet.Sample(QStringLiteral("tree open"), 100, 16, [&](const QRect& r) {
        DrawThemedElement(c, {TThemedElement::teTreeGlyph, TThemedState::tsNormal, {}, true},
                          QRect(r.topLeft(), QSize(16, 16)));
    });
    sheet.Sample(QStringLiteral("toolbar background"), 200, 26,
                 [&](const QRect& r) { DrawThemedElement(c, {TThemedElement::teToolBarBackground}, r); });
    sheet.Sample(QStringLiteral("button content rect"), 100, 22, [&](const QRect& r) {
        const QRect at(r.left(), r.top(), 90, 22);
        DrawThemedElement(c, {TThemedElement::tePushButton}, at);
        c.Brush()->SetColor(clRed);
        c.FrameRect(ThemedContentRect({TThemedElement::tePushButton}, at));
    });
    sheet.NewRow();
}

bool Themes(const QDir& folder)
{
    TSheet sheet(900, 900, QApplication::palette());
    ThemeRows(sheet);
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    TSheet dark(900, 900, DarkPalette());
    ThemeRows(dark);
    QApplication::setPalette(saved);
    return sheet.Save(folder, QStringLiteral("themes.png")) &&
           dark.Save(folder, QStringLiteral("themes-dark.png"));
}

// Each image of a list at three times its size on the given background.
void StripRow(TSheet& sheet, const TImageList& list, TColor background, bool enabled, const QString& label)
{
    TCanvas& c = sheet.Canvas();
    for (int i = 0; i < list.Count(); ++i) {
        sheet.Sample(QStringLiteral("%1 %2").arg(label).arg(i), list.Width() * 3 + 4, list.Height() * 3 + 4,
                     [&](const QRect& r) {
                         TBitmap cell;
                         cell.SetSize(list.Width(), list.Height());
                         cell.Canvas()->SetPalette(c.Palette());
                         cell.Canvas()->Brush()->SetColor(background);
                         cell.Canvas()->FillRect(QRect(0, 0, list.Width(), list.Height()));
                         list.Draw(*cell.Canvas(), 0, 0, i, enabled);
                         c.StretchDraw(QRect(r.left() + 2, r.top() + 2, list.Width() * 3, list.Height() * 3),
                                       cell);
                     });
    }
    sheet.NewRow();
}

void StripRows(TSheet& sheet)
{
    TImageList indicators;
    indicators.LoadStripResource(QStringLiteral("KELDBINDICATORS"));
    TImageList markers;
    markers.LoadStripResource(QStringLiteral("KELDBMARKERS"), clLime);
    TImageList checks;
    checks.LoadStripResource(QStringLiteral("KELDBCHECKBOXES"));
    StripRow(sheet, indicators, clBtnFace, true, QStringLiteral("ind"));
    StripRow(sheet, indicators, clBtnFace, false, QStringLiteral("ind off"));
    StripRow(sheet, markers, clBtnFace, true, QStringLiteral("mark"));
    StripRow(sheet, checks, clWindow, true, QStringLiteral("check"));
    StripRow(sheet, checks, clWindow, false, QStringLiteral("chk off"));
}

bool Strips(const QDir& folder)
{
    TSheet sheet(900, 900, QApplication::palette());
    StripRows(sheet);
    TSheet dark(900, 900, DarkPalette());
    StripRows(dark);
    return sheet.Save(folder, QStringLiteral("strips.png")) &&
           dark.Save(folder, QStringLiteral("strips-dark.png"));
}

// A hint window's look: what CalcHintRect measures, painted as ActivateHint
// shows it.
bool Hints(const QDir& folder)
{
    TSheet sheet(900, 300, QApplication::palette());
    struct THintSample {
        const char* label;
        QString text;
        int maxWidth;
        TColor color;
        bool rightToLeft;
    };
    const THintSample samples[] = {
        {"plain", QStringLiteral("Saves the file"), 400, clInfoBk, false},
        {"word-wrapped in 160 px",
         QStringLiteral("A longer hint that wraps between its words to stay within the maximum width"), 160,
         clInfoBk, false},
        {"line breaks", QStringLiteral("First line\nSecond, longer line\nThird"), 400, clInfoBk, false},
        {"own colour", QStringLiteral("HintColor clYellow"), 400, clYellow, false},
        {"right to left",
         QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD (RTL)\n\u05E9\u05D5\u05E8\u05D4 "
                        "\u05E9\u05E0\u05D9\u05D9\u05D4"),
         400, clInfoBk, true},
    };
    for (const THintSample& sample : samples) {
        const QScopedValueRollback rightToLeft(LocaleFacts().RightToLeft, sample.rightToLeft);
        THintWindow window;
        window.Font()->SetName(QStringLiteral("DejaVu Sans"));
        window.Font()->SetSize(8);
        window.SetBiDiMode(sample.rightToLeft ? bdRightToLeft : bdLeftToRight);
        window.SetColor(sample.color);
        const QRect size = window.CalcHintRect(sample.maxWidth, sample.text, QVariant());
        window.ActivateHint(size.translated(WorkAreaRect().topLeft()), sample.text);
        const QImage image = window.grab().toImage();
        window.ReleaseHandle();
        sheet.Sample(QLatin1String(sample.label), std::max(image.width(), 150), image.height(),
                     [&](const QRect& r) { sheet.Canvas().Painter()->drawImage(r.topLeft(), image); });
    }
    return sheet.Save(folder, QStringLiteral("hints.png"));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    try {
        const bool ok = Colors(folder) && Primitives(folder) && Text(folder) && Edges(folder) &&
                        Themes(folder) && Strips(folder) && Hints(folder);
        if (!ok) {
            std::fprintf(stderr, "gallery: cannot write into %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
