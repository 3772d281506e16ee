#pragma once
// TMenuItem: one entry of a menu and the list of its sub-items, and the
// caption helpers. A TPopupMenu (popupmenu.h) shows the tree of items under
// its Items.
//
// Captions use the platform's accelerator marks: "&File" underlines F, "&&"
// is a literal "&"; the caption "-" makes the item a separator line.
//
// Sub-items: an item holds its sub-items in order; each has at most one
// parent item. Ownership is the component's as usual (the owner passed at
// construction, typically the form), and besides, an item frees the
// sub-items it still holds when it is freed, and an item that is freed
// leaves its parent's list. Delete and Remove take an item out of the list
// without freeing it.
//
// Checked radio items: checking a RadioItem unchecks the other radio items
// of the same GroupIndex among its siblings.

#include "toolkit/core/component.h"
#include "toolkit/core/exceptions.h"

#include <QList>
#include <QString>

namespace tk {

TK_DECLARE_EXCEPTION(EMenuError, Exception)

// caption without its accelerator marks ("&Save && close" -> "Save & close").
QString StripHotkey(const QString& caption);

class TMenuItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool AutoCheck READ AutoCheck WRITE SetAutoCheck)
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_CLASSINFO("Default:Checked", "False")
    Q_CLASSINFO("Default:AutoCheck", "False")
    Q_CLASSINFO("Default:RadioItem", "False")
    Q_CLASSINFO("Default:GroupIndex", "0")
    Q_CLASSINFO("Default:Enabled", "True")
    Q_CLASSINFO("Default:Visible", "True")
    Q_CLASSINFO("Default:Default", "False")
    Q_CLASSINFO("Default:ShortCut", "0")
    Q_CLASSINFO("Default:ImageIndex", "-1")
public:
    Q_INVOKABLE explicit TMenuItem(QObject* owner = nullptr);
    ~TMenuItem() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    // The caption is "-".
    bool IsLine() const { return caption_ == QStringLiteral("-"); }

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // Click toggles Checked.
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool on) { autoCheck_ = on; }
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool on);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    // An invisible item is left out of the menu shown.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // Shown in bold; the menu's default choice.
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    // A QKeyCombination::toCombined() value shown beside the caption; 0 for
    // none. It is shown only: the menu does not watch the keyboard.
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int shortCut) { shortCut_ = shortCut; }
    // Stored for the application's hint; never shown as a tool tip.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }
    // The image of the menu's Images beside the caption; -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }

    // --- Sub-items ------------------------------------------------------------
    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // EMenuError "Menu index out of range" unless 0 <= index < Count.
    TMenuItem* Items(int index) const;
    // Adds item at the end. EMenuError "Menu inserted twice" when item is
    // already in a list (this one's included); nullptr: nothing.
    void Add(TMenuItem* item);
    // Inserts item before position index (Count: at the end); errors as Add,
    // and "Menu index out of range" unless 0 <= index <= Count.
    void Insert(int index, TMenuItem* item);
    // Takes the item at index out of the list without freeing it; errors as
    // Items.
    void Delete(int index);
    // Takes item out of the list without freeing it; EMenuError "Sub-menu is
    // not in menu" when it is not in this list.
    void Remove(TMenuItem* item);
    // Frees every sub-item.
    void Clear();
    // Position of item among the sub-items; -1 when it is not one.
    int IndexOf(const TMenuItem* item) const;
    // The first sub-item whose caption equals caption, both without
    // accelerator marks and in any case; nullptr when none does.
    TMenuItem* Find(const QString& caption) const;

    // What choosing the item does: nothing when disabled; else AutoCheck
    // toggles Checked and OnClick runs (unguarded: an exception reaches the
    // caller).
    virtual void Click();

    TNotifyEvent OnClick;

private:
    void TurnSiblingsOff();

    QString caption_;
    bool checked_ = false;
    bool autoCheck_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    int shortCut_ = 0;
    QString hint_;
    int imageIndex_ = -1;
    TMenuItem* parent_ = nullptr;
    QList<TMenuItem*> items_;
};

}  // namespace tk
