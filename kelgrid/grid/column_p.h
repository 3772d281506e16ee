#pragma once
// The private state of TKelColumn and TKelColumnTitle. Only the column's
// and the title's own files include this header.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/tuning.h"

#include <QPointer>
#include <memory>

namespace tk {
class TStringList;
}

namespace kelgrid {

struct TKelColumnPrivate {
    QPointer<tk::TField> field;
    QString fieldName;
    tk::TColor color = tk::clWindow;
    int width = 64;
    TKelColumnTitle* title = nullptr;  // QObject children of the column
    TKelColumnTotalHeader* totalHeader = nullptr;
    TKelColumnTotalValues* totalValues = nullptr;
    TKelColumnTotalFields* totalFields = nullptr;
    TKelColumnTotalFooter* totalFooter = nullptr;
    tk::TFont* font = nullptr;
    tk::TImeMode imeMode = tk::imDontCare;
    QString imeName;
    std::unique_ptr<tk::TStringList> pickList;
    QPointer<tk::TPopupMenu> popupMenu;
    int dropDownRows = 0;
    TKelColumnButtonStyle buttonStyle = cbsAuto;
    tk::TAlignment alignment = tk::taLeftJustify;
    bool readOnly = false;
    TKelColumnValues assignedValues;
    bool visible = true;
    bool expanded = true;
    bool stored = true;
    bool ellipsis = true;
    bool showBlob = true;
    bool showEdit = true;
    bool wordWrap = true;
    TVAlignment vAlignment = tvCenter;
    TImageDraw imageDraw = idCenter;
    bool quickDraw = true;
    bool transparent = false;
    bool wallpaper = false;
    int widthMax = -1;
    int widthMin = -1;
    int imageOffsetX = 0;
    int imageOffsetY = 0;
    bool checkBox = false;
    QString checkBoxValues;  // empty: the default texts
    TCheckBoxToggle checkBoxToggle = ctOnCellClick;
    // Width at the reference grid width while the grid stretches its
    // columns.
    int baseWidth = 64;
    // Stretch mode took the column's width while it had none of its own.
    bool stretchedDefault = false;
    QString hint;
    QString editorHint;
    bool toolTips = true;
    TToolTipsWidth toolTipsWidth = ttAutoWidth;
    QPointer<tk::TImageList> images;
    tk::TColor transparentColor = tk::clNone;
    std::unique_ptr<tk::TStringList> pickText;
    QString pickTextFormat;
    // The formatted pick entries, rebuilt on demand.
    mutable std::unique_ptr<tk::TStringList> pickData;
    TKelPickOptions pickOptions = TKelPickOptions(poSelectPickText | poAcceptPickList);
    TKelListOptions listOptions = DefaultListOptions();
    bool suppressRTL = false;
    bool autoNumber = false;
    bool editMemo = false;
    QPointer<tk::TPopupMenu> dropDownMenu;
    int dropDownWidth = 0;
    int expandCols = 0;
    TKelColumnExpandStyle expandStyle = cesAuto;
    TDialogOptions dialogOptions = TDialogOptions(doShowColumn | doItemEnabled);
    TCheckBoxStyle checkBoxStyle = cbAuto;
    TCheckBoxKind checkBoxKind = ckCheck;
    QPointer<tk::TDataSet> lookupDataSet;
    QString lookupKeyField;
    QString lookupListFields;
    QString lookupListTitles;
    QString lookupListWidths;
    tk::TEditCharCase charCase = tk::TUiEnums::ecNormal;

    // Raised while the column copies the default font into its own, so
    // the copy does not count as an assignment.
    mutable int fontRefreshLock = 0;

    static TKelListOptions DefaultListOptions()
    {
        return TKelListOptions(loAutoComplete | loAutoCloseEditor | loSelectNextValue | loAllowClearValue |
                               loShowToday | loAllowChangeOrder | loAllowColumnResize);
    }
};

struct TKelColumnTitlePrivate {
    TKelColumn* column = nullptr;
    QString caption;
    tk::TFont* font = nullptr;  // a QObject child of the title
    tk::TColor color = tk::clBtnFace;
    tk::TAlignment alignment = tk::taLeftJustify;
    bool button = true;
    bool ellipsis = true;
    TMarker marker = tmNone;
    QString header;
    bool wordWrap = true;
    TVAlignment vAlignment = tvCenter;
    QString hint;
    QString headerHint;
    int imageIndex = -1;
    int markerIndex = -1;
    bool autoToggle = true;
    QPointer<tk::TPopupMenu> popupMenu;
    QPointer<tk::TPopupMenu> dropDownMenu;
    mutable int fontRefreshLock = 0;
};

// Lets a component tell observer when it goes: onFree runs while the
// component is still whole. Drops the link to old (when it is a component
// and no longer wanted) first.
void ObserveComponent(QObject* observer, QObject* old, QObject* now, std::function<void(QObject*)> onFree);

// Points member at now and moves the free notification with observe(old,
// now); false when it pointed there already.
template <typename T, typename Observe> bool Repoint(QPointer<T>& member, T* now, Observe observe)
{
    T* old = member;
    if (old == now)
        return false;
    member = now;
    observe(old, now);
    return true;
}

}  // namespace kelgrid
