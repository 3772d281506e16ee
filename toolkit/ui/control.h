#pragma once
// What every control publishes besides its own properties: Hint, Enabled,
// Visible, Font, Color and its bounds. A control class writes
//
//     class TLabel : public QLabel {
//         Q_OBJECT
//         TK_CONTROL_PROPERTIES
//         ...
//         TK_CONTROL_ACCESSORS
//     };
//
// so translation files and layouts written for these names work on any of
// our controls. Enabled and Visible are the control's own switches (a
// control inside a disabled group still reads Enabled).

#include "toolkit/ui/graphics.h"

#include <QWidget>
#include <functional>

namespace tk {

// Keeps a widget's published Font and Color in step with the widget.
class TControlParts {
public:
    explicit TControlParts(QWidget* widget);

    TFont* Font() const { return font_; }
    void SetFont(const TFont* font);
    TColor Color() const { return color_; }
    // The background colour; clDefault keeps the style's.
    void SetColor(TColor color);

private:
    void ApplyFont();

    QWidget* widget_;
    TFont* font_;
    TColor color_ = clDefault;
};

// Runs a control's event handler; an exception goes to the application's
// handler instead of into Qt's event loop.
void FireEvent(const TNotifyEvent& handler, QObject* sender);

}  // namespace tk

#define TK_CONTROL_PROPERTIES                                     \
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)              \
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)        \
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)        \
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)           \
    Q_PROPERTY(int Color READ Color WRITE SetColor)               \
    Q_PROPERTY(int Left READ Left WRITE SetLeft STORED false)     \
    Q_PROPERTY(int Top READ Top WRITE SetTop STORED false)        \
    Q_PROPERTY(int Width READ Width WRITE SetWidth STORED false)  \
    Q_PROPERTY(int Height READ Height WRITE SetHeight STORED false)

#define TK_CONTROL_ACCESSORS                                                             \
public:                                                                                  \
    QString Hint() const { return toolTip(); }                                           \
    void SetHint(const QString& hint) { setToolTip(hint); }                              \
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }                \
    void SetEnabled(bool enabled) { setEnabled(enabled); }                               \
    bool Visible() const { return !isHidden(); }                                         \
    void SetVisible(bool visible) { setVisible(visible); }                               \
    tk::TFont* Font() const { return parts_.Font(); }                                    \
    void SetFont(tk::TFont* font) { parts_.SetFont(font); }                              \
    int Color() const { return parts_.Color(); }                                         \
    void SetColor(int color) { parts_.SetColor(color); }                                 \
    int Left() const { return x(); }                                                     \
    void SetLeft(int left) { move(left, y()); }                                          \
    int Top() const { return y(); }                                                      \
    void SetTop(int top) { move(x(), top); }                                             \
    int Width() const { return width(); }                                                \
    void SetWidth(int width) { resize(width, height()); }                                \
    int Height() const { return height(); }                                              \
    void SetHeight(int height) { resize(width(), height); }                              \
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); } \
                                                                                         \
private:                                                                                 \
    tk::TControlParts parts_{this};
