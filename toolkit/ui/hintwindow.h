#pragma once
// THintWindow: the window a hint shows in, and THintWindowClass, the factory
// that picks the window class per hint (THintInfo::HintWindowClass).
//
// The window is top-level, never takes the focus, never activates and lets
// the mouse through to what lies below it (the control under a hint laid
// over a grid cell keeps getting the moves). It is a control, so it has the
// control base's Font, Color and BiDiMode.
//
// Geometry, as the platform's hint window has it (subclasses rely on it):
// - CalcHintRect(maxWidth, hint, data) gives the size at (0, 0): the text
//   measured on Canvas with word breaks within maxWidth, without prefix
//   characters, plus 6 in width and 2 in height.
// - ActivateHint(rect, hint) shows the window at rect's top-left, rect's
//   width wide and its height + 4 high, moved into the work area of the
//   screen holding that point (bottom and right edges first, then left and
//   top), and repaints it.
// - The outermost pixel is the window's border; ClientRect() is the area
//   inside it, in the window's coordinates. The default Paint draws the
//   text 2 pixels inside the client area's left (right, when right-to-left)
//   and top edge, which leaves 2 pixels around text measured by
//   CalcHintRect.
//
// Painting: Color (default clInfoBk) fills the window, then Paint draws on
// Canvas, then the border is drawn over the outermost pixel. Canvas draws
// on the window during Paint and measures at any other time. Its font is a
// copy of Font, taken again whenever Font changes; a subclass may set
// another on the canvas in CalcHintRect and paint with it.
//
// Right to left: with UseRightToLeftReading (a right-to-left locale and a
// BiDiMode other than bdLeftToRight) text is measured and drawn in
// right-to-left reading order; with UseRightToLeftAlignment it is also
// aligned right.

#include "toolkit/ui/control.h"

#include <QRect>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

class QEvent;
class QPaintEvent;

namespace tk {

class TCanvas;
class THintWindow;

// Makes a new hint window of one class. Two hints with the same factory use
// the same kind of window, so the engine keeps the window it has.
using THintWindowClass = std::unique_ptr<THintWindow> (*)();

template <class Window> std::unique_ptr<THintWindow> CreateHintWindow()
{
    return std::make_unique<Window>();
}

// The factory of Window, which derives from THintWindow and has a default
// constructor: HintWindowClassOf<TMyHintWindow>().
template <class Window> THintWindowClass HintWindowClassOf()
{
    return &CreateHintWindow<Window>;
}

class THintWindow : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES

public:
    // A hidden top-level window with the application's tool-tip font.
    THintWindow();
    ~THintWindow() override;

    TCanvas* Canvas() const { return canvas_.get(); }
    // The hint text last activated.
    QString Caption() const { return caption_; }
    // The window less its one-pixel border, in window coordinates.
    QRect ClientRect() const;

    // Shows hint in rect (screen coordinates; see the geometry above).
    virtual void ActivateHint(QRect rect, const QString& hint);
    // As ActivateHint; for subclasses whose hints carry data (the base
    // ignores data).
    virtual void ActivateHintData(QRect rect, const QString& hint, const QVariant& data);
    // The window's size for hint at (0, 0); maxWidth < 1 counts as 1.
    virtual QRect CalcHintRect(int maxWidth, const QString& hint, const QVariant& data);
    // Whether event, seen anywhere in the application, ends the hint: key
    // presses and releases, mouse presses, releases and double clicks,
    // wheel turns, and windows or the application being activated or
    // deactivated. Mouse moves do not.
    virtual bool IsHintMsg(const QEvent& event) const;
    // The base's answer, for when no window exists yet.
    static bool IsHintInput(const QEvent& event);
    // Hides the window; the next ActivateHint shows it again.
    void ReleaseHandle();

protected:
    // Draws Caption on Canvas; see the geometry above.
    virtual void Paint();
    // DrawText flags for this window's reading order and alignment.
    unsigned BiDiTextFlags() const;

    void paintEvent(QPaintEvent* event) override;
    void FontChanged() override;

private:
    std::unique_ptr<TCanvas> canvas_;
    QString caption_;
};

}  // namespace tk
