#pragma once
// The drawing tools a canvas holds: TFont, TBrush and TPen. Each is a
// persistent sub-object a control or canvas publishes, fires OnChange after
// every change, and copies with Assign. Colours are in colors.h.
//
// TFont: Name, Size (points) and Height (pixels of the character height,
// negative as the platform writes it: -Size * 96 / 72), Style, Color,
// Charset (stored, not applied: Qt fonts carry all of Unicode) and Pitch.
// Version() counts the changes; Handle() is equal for two fonts with equal
// attributes and differs otherwise, which is what code comparing "font
// handles" means.

#include "toolkit/core/component.h"
#include "toolkit/ui/colors.h"

#include <QBrush>
#include <QFlags>
#include <QFont>
#include <QPen>
#include <QString>
#include <functional>

namespace tk {

class TFont : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Height READ Height WRITE SetHeight STORED false)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_CLASSINFO("Default:Style", "[]")
    Q_CLASSINFO("Default:Charset", "1")
    Q_CLASSINFO("Default:Pitch", "fpDefault")
public:
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)
    enum TFontPitch { fpDefault, fpVariable, fpFixed };
    Q_ENUM(TFontPitch)

    // The character set value that means "whatever the font has".
    static constexpr int kDefaultCharset = 1;

    explicit TFont(QObject* parent = nullptr);

    QString Name() const { return name_; }
    void SetName(const QString& name);
    // Points; values of 0 or less are ignored.
    int Size() const { return size_; }
    void SetSize(int size);
    // Pixels at 96 dots per inch, negative; a positive height is taken as
    // its negative (cell height and character height are not told apart).
    int Height() const;
    void SetHeight(int height);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // Copies every attribute from another TFont (one OnChange), else raises
    // EConvertError as TPersistent does.
    void Assign(const TPersistent* source) override;
    QFont ToQFont() const;

    // Goes up by one with every change.
    quint64 Version() const { return version_; }
    // Equal for fonts with equal attributes (see the top).
    quintptr Handle() const;

    // Fired after every change, so the owner can repaint.
    std::function<void()> OnChange;

private:
    void Changed();

    QString name_ = QStringLiteral("Tahoma");
    int size_ = 8;
    TColor color_ = clWindowText;
    TFontStyles style_;
    int charset_ = kDefaultCharset;
    TFontPitch pitch_ = fpDefault;
    quint64 version_ = 0;
    // Handle() as of handleVersion_ (0: not asked yet).
    mutable quintptr handle_ = 0;
    mutable quint64 handleVersion_ = 0;
};

class TBrush : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TBrushStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Color", "clWhite")
    Q_CLASSINFO("Default:Style", "bsSolid")
public:
    enum TBrushStyle {
        bsSolid,
        bsClear,
        bsHorizontal,
        bsVertical,
        bsFDiagonal,
        bsBDiagonal,
        bsCross,
        bsDiagCross
    };
    Q_ENUM(TBrushStyle)

    explicit TBrush(QObject* parent = nullptr);

    TColor Color() const { return color_; }
    // Setting a colour makes a clear brush solid, as the platform does.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

    void Assign(const TPersistent* source) override;
    // Qt::NoBrush for bsClear and for clNone.
    QBrush ToQBrush(const QPalette& palette) const;

    std::function<void()> OnChange;

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TPen : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TPenStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TPenMode Mode READ Mode WRITE SetMode)
    Q_CLASSINFO("Default:Color", "clBlack")
    Q_CLASSINFO("Default:Width", "1")
    Q_CLASSINFO("Default:Style", "psSolid")
    Q_CLASSINFO("Default:Mode", "pmCopy")
public:
    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
    Q_ENUM(TPenStyle)
    // pmXor and pmNot combine with what is on the canvas (for rubber bands
    // drawn twice to erase them).
    enum TPenMode { pmCopy, pmXor, pmNot };
    Q_ENUM(TPenMode)

    explicit TPen(QObject* parent = nullptr);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // At least 1.
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    void Assign(const TPersistent* source) override;
    // Qt::NoPen for psClear and for clNone.
    QPen ToQPen(const QPalette& palette) const;

    std::function<void()> OnChange;

private:
    void Changed();

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TFont::TFontStyles)
