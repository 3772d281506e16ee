#pragma once
// Theme services: the platform's visual-style elements, drawn by the
// application's QStyle.
//
// Themes are on unless switched off globally (SetThemesEnabled(false)); a
// control may switch them off for itself by passing its own setting to
// ThemesEnabled(TThemeUse) — a control is themed only while themes are on
// globally and it does not refuse them. NewerVisualStyles() stands for
// "the system has the newer visual styles" and is settable so that code
// with two branches can be tested on both; it is on by default.
//
// An element is named by TThemedDetails (element, state, and for check
// boxes the check state, for tree glyphs open or closed). DrawElement
// paints it into a rectangle of the canvas; ContentRect is where content
// (a caption, an image) goes inside it. Both work whether or not themes
// are enabled: the switch is for callers to choose their branch.

#include "toolkit/ui/canvas.h"

#include <QRect>

class QStyle;
class QWidget;

namespace tk {

enum class TThemedElement {
    teToolBarBackground,
    teHeaderItem,
    tePushButton,
    teTabItem,
    teTreeGlyph,
    teComboDropDown,
    teCheckBox,
    teToolBarButton,
};

enum class TThemedState { tsNormal, tsHot, tsPressed, tsDisabled };
enum class TThemedCheck { tcUnchecked, tcChecked, tcMixed };

struct TThemedDetails {
    TThemedElement element = TThemedElement::tePushButton;
    TThemedState state = TThemedState::tsNormal;
    TThemedCheck check = TThemedCheck::tcUnchecked;  // check boxes
    bool open = false;                               // tree glyphs: expanded
};

// A control's own choice: follow the global switch, or refuse themes.
enum class TThemeUse { tuDefault, tuOff };

bool ThemesEnabled();
bool ThemesEnabled(TThemeUse control);
void SetThemesEnabled(bool enabled);
bool NewerVisualStyles();
void SetNewerVisualStyles(bool newer);

// Draws the element into rect (nothing on a measuring canvas). widget, when
// given, lends its style and palette.
void DrawThemedElement(TCanvas& canvas, const TThemedDetails& details, const QRect& rect,
                       const QWidget* widget = nullptr);
// The part of an element's rectangle left for its content.
QRect ThemedContentRect(const TThemedDetails& details, const QRect& rect, const QWidget* widget = nullptr);
// The preferred size of elements that have one (check box, tree glyph);
// otherwise an empty size.
QSize ThemedPartSize(const TThemedDetails& details, const QWidget* widget = nullptr);

// Paints what control's parent shows behind rect (in control coordinates):
// the parent's background and own painting, without other children. A
// control without a parent gets its own palette's window colour.
void DrawParentBackground(const QWidget* control, TCanvas& canvas, const QRect& rect);

}  // namespace tk
