#pragma once
// Colours and fonts as controls publish them. A TColor is 0x00BBGGRR (red in
// the low byte); negative values would be system colours, of which the few
// the controls use map to the palette. TFont is the sub-object every
// control publishes as Font and keeps in step with the widget.

#include "toolkit/core/component.h"

#include <QColor>
#include <QFont>
#include <QFlags>
#include <QString>
#include <functional>

namespace tk {

using TColor = int;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
// The computed default at the point of use, and "no colour".
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clNone = 0x1FFFFFFF;

// The QColor of a colour; system colours come from the application palette.
QColor ColorToQColor(TColor color);
TColor QColorToColor(const QColor& color);

class TFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "[]")
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    explicit TFont(QObject* parent = nullptr);

    QString Name() const { return name_; }
    void SetName(const QString& name);
    // Points.
    int Size() const { return size_; }
    void SetSize(int size);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);

    void Assign(const TPersistent* source) override;
    QFont ToQFont() const;

    // Fired after every change, so the owning control can repaint.
    std::function<void()> OnChange;

private:
    void Changed();

    QString name_ = QStringLiteral("Tahoma");
    int size_ = 8;
    TColor color_ = clWindowText;
    TFontStyles style_;
};

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TFont::TFontStyles)
