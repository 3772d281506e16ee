#include "toolkit/ui/themes.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace tk {

namespace {

bool themesEnabled = true;
bool newerVisualStyles = true;

QStyle* StyleOf(const QWidget* widget)
{
    return widget ? widget->style() : QApplication::style();
}

// Fills the parts of an option every element shares.
void InitOption(QStyleOption& option, const TThemedDetails& details, const QRect& rect, const QWidget* widget,
                const QPalette& palette)
{
    if (widget)
        option.initFrom(widget);
    else
        option.palette = palette;
    option.rect = rect;
    option.state = QStyle::State_None;
    if (details.state != TThemedState::tsDisabled)
        option.state |= QStyle::State_Enabled | QStyle::State_Active;
    else
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    if (details.state == TThemedState::tsHot)
        option.state |= QStyle::State_MouseOver;
    if (details.state == TThemedState::tsPressed)
        option.state |= QStyle::State_Sunken | QStyle::State_MouseOver;
    else
        option.state |= QStyle::State_Raised;
}

QStyle::State CheckState(TThemedCheck check)
{
    switch (check) {
    case TThemedCheck::tcChecked:
        return QStyle::State_On;
    case TThemedCheck::tcMixed:
        return QStyle::State_NoChange;
    case TThemedCheck::tcUnchecked:
        break;
    }
    return QStyle::State_Off;
}

void DrawElement(QPainter& painter, QStyle& style, const TThemedDetails& details, const QRect& rect,
                 const QWidget* widget, const QPalette& palette)
{
    switch (details.element) {
    case TThemedElement::teToolBarBackground: {
        QStyleOptionToolBar option;
        InitOption(option, details, rect, widget, palette);
        option.state |= QStyle::State_Horizontal;
        style.drawControl(QStyle::CE_ToolBar, &option, &painter, widget);
        return;
    }
    case TThemedElement::teHeaderItem: {
        QStyleOptionHeader option;
        InitOption(option, details, rect, widget, palette);
        option.position = QStyleOptionHeader::Middle;
        option.orientation = Qt::Horizontal;
        style.drawControl(QStyle::CE_HeaderSection, &option, &painter, widget);
        // Some styles draw hot and pressed headers like normal ones: add
        // the platform's hover tint and pressed shade.
        if (details.state == TThemedState::tsHot || details.state == TThemedState::tsPressed) {
            QColor tint = details.state == TThemedState::tsHot ? option.palette.color(QPalette::Highlight)
                                                               : option.palette.color(QPalette::Shadow);
            tint.setAlpha(details.state == TThemedState::tsHot ? 40 : 30);
            painter.fillRect(rect.adjusted(1, 1, -1, -1), tint);
        }
        return;
    }
    case TThemedElement::tePushButton: {
        QStyleOptionButton option;
        InitOption(option, details, rect, widget, palette);
        style.drawControl(QStyle::CE_PushButtonBevel, &option, &painter, widget);
        return;
    }
    case TThemedElement::teTabItem: {
        QStyleOptionTab option;
        InitOption(option, details, rect, widget, palette);
        option.shape = QTabBar::RoundedNorth;
        option.position = QStyleOptionTab::Middle;
        if (details.state == TThemedState::tsPressed)
            option.state |= QStyle::State_Selected;
        style.drawControl(QStyle::CE_TabBarTabShape, &option, &painter, widget);
        return;
    }
    case TThemedElement::teTreeGlyph: {
        QStyleOption option;
        InitOption(option, details, rect, widget, palette);
        option.state |= QStyle::State_Children | QStyle::State_Item;
        if (details.open)
            option.state |= QStyle::State_Open;
        style.drawPrimitive(QStyle::PE_IndicatorBranch, &option, &painter, widget);
        return;
    }
    case TThemedElement::teComboDropDown: {
        QStyleOptionButton option;
        InitOption(option, details, rect, widget, palette);
        style.drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, widget);
        QStyleOption arrow = option;
        const int side = std::max(4, std::min(rect.width(), rect.height()) / 2);
        arrow.rect = QRect(0, 0, side, side);
        arrow.rect.moveCenter(rect.center());
        if (details.state == TThemedState::tsPressed)
            arrow.rect.translate(1, 1);
        style.drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, widget);
        return;
    }
    case TThemedElement::teCheckBox: {
        QStyleOptionButton option;
        InitOption(option, details, rect, widget, palette);
        option.state &= ~QStyle::State_Raised;
        option.state |= CheckState(details.check);
        style.drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
        return;
    }
    case TThemedElement::teToolBarButton: {
        QStyleOptionToolButton option;
        InitOption(option, details, rect, widget, palette);
        option.state |= QStyle::State_AutoRaise;
        if (details.state == TThemedState::tsNormal || details.state == TThemedState::tsDisabled)
            option.state &= ~QStyle::State_Raised;  // an idle auto-raise button shows no panel
        style.drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, widget);
        return;
    }
    }
}

}  // namespace

bool ThemesEnabled()
{
    return themesEnabled;
}

bool ThemesEnabled(TThemeUse control)
{
    return themesEnabled && control != TThemeUse::tuOff;
}

void SetThemesEnabled(bool enabled)
{
    themesEnabled = enabled;
}

bool NewerVisualStyles()
{
    return newerVisualStyles;
}

void SetNewerVisualStyles(bool newer)
{
    newerVisualStyles = newer;
}

void DrawThemedElement(TCanvas& canvas, const TThemedDetails& details, const QRect& rect,
                       const QWidget* widget)
{
    QPainter* painter = canvas.Painter();
    if (!painter || rect.isEmpty())
        return;
    painter->save();
    // The element lies at its mirrored place but is drawn the right way round.
    painter->resetTransform();
    const QRect at = canvas.DeviceRect(rect);
    DrawElement(*painter, *StyleOf(widget), details, at, widget, canvas.Palette());
    painter->restore();
}

QRect ThemedContentRect(const TThemedDetails& details, const QRect& rect, const QWidget* widget)
{
    QStyle* style = StyleOf(widget);
    switch (details.element) {
    case TThemedElement::tePushButton: {
        QStyleOptionButton option;
        InitOption(option, details, rect, widget, QApplication::palette());
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
    }
    case TThemedElement::teHeaderItem:
    case TThemedElement::teTabItem: {
        const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, widget);
        return rect.adjusted(margin, 1, -margin, -1);
    }
    case TThemedElement::teToolBarButton:
    case TThemedElement::teComboDropDown: {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        return rect.adjusted(frame, frame, -frame, -frame);
    }
    case TThemedElement::teToolBarBackground:
    case TThemedElement::teTreeGlyph:
    case TThemedElement::teCheckBox:
        break;
    }
    return rect;
}

QSize ThemedPartSize(const TThemedDetails& details, const QWidget* widget)
{
    QStyle* style = StyleOf(widget);
    switch (details.element) {
    case TThemedElement::teCheckBox:
        return QSize(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget));
    case TThemedElement::teTreeGlyph: {
        const int side = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, widget) / 2 + 1;
        return QSize(side, side);
    }
    default:
        return QSize();
    }
}

void DrawParentBackground(const QWidget* control, TCanvas& canvas, const QRect& rect)
{
    QPainter* painter = canvas.Painter();
    if (!painter || !control || rect.isEmpty())
        return;
    QWidget* parent = control->parentWidget();
    if (!parent) {
        painter->fillRect(rect, control->palette().brush(QPalette::Window));
        return;
    }
    const QRect inParent = rect.translated(control->pos());
    painter->save();
    painter->fillRect(rect, parent->palette().brush(parent->backgroundRole()));
    // Only the parent's own painting, offset so that rect lands on rect.
    parent->render(painter, rect.topLeft(), QRegion(inParent), QWidget::DrawWindowBackground);
    painter->restore();
}

}  // namespace tk
