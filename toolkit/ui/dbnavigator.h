#pragma once
// TDBNavigator: a bar of ten buttons that move through and edit the records
// of a data source: first, prior, next, last, insert, delete, edit, post,
// cancel, refresh.
//
// Enabling follows the navigator's own data link: with no active dataset
// every button is off; first and prior are off at Bof, next and last at
// Eof; insert, edit and refresh need a dataset that can modify (edit also
// one not editing already), delete one that can modify and is not empty;
// post and cancel are on only while editing or inserting.
//
// A click runs BtnClick: BeforeAction first (a handler that raises stops
// the action; from a click the error goes to the application's handler),
// then the action, then OnClick. Delete asks SDeleteRecordQuestion (Yes,
// No) while ConfirmDelete; the question and the deletion are DeleteRecords,
// which a subclass may widen (a grid's selected rows).
//
// The visible buttons share the client width: each gets width / count
// pixels and the first width % count buttons one more. Hints: line i of
// Hints is button i's hint, empty or missing lines take the default hint.
// Glyphs: ButtonGlyph supplies each button's image strip (none here);
// subclasses call ApplyGlyphs from their constructor.

#include "toolkit/core/strings.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/panel.h"
#include "toolkit/ui/speedbutton.h"

#include <array>
#include <functional>
#include <memory>

namespace tk {

struct TDBNavigatorEnums {
    Q_GADGET

public:
    enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
    Q_ENUM(TNavigateBtn)
};
using TNavigateBtn = TDBNavigatorEnums::TNavigateBtn;
using enum TDBNavigatorEnums::TNavigateBtn;

inline constexpr int NavigatorButtonCount = 10;

// A set of navigator buttons (bit i: button i).
using TNavButtonSet = unsigned;
inline constexpr TNavButtonSet NavButtonBit(TNavigateBtn button) { return 1u << static_cast<unsigned>(button); }
inline constexpr TNavButtonSet AllNavButtons = (1u << NavigatorButtonCount) - 1;

// One button of the navigator: a speed button that knows its place.
class TNavButton : public TSpeedButton {
    Q_OBJECT
public:
    explicit TNavButton(QWidget* parent = nullptr) : TSpeedButton(parent) {}
    TNavigateBtn Index() const { return index_; }
    void SetIndex(TNavigateBtn index) { index_ = index; }

private:
    TNavigateBtn index_ = nbFirst;
};

class TDBNavigator : public TPanel {
    Q_OBJECT
    Q_PROPERTY(bool ConfirmDelete READ ConfirmDelete WRITE SetConfirmDelete)
    TK_QT_SETTER(ConfirmDelete, bool)
    Q_PROPERTY(tk::TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(tk::TStrings* Hints READ Hints WRITE SetHints)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    TK_QT_SETTER(Flat, bool)
    Q_PROPERTY(unsigned VisibleButtons READ VisibleButtons WRITE SetVisibleButtons)
    TK_QT_SETTER(VisibleButtons, unsigned)
    Q_CLASSINFO("Default:ConfirmDelete", "True")
    Q_CLASSINFO("Default:Flat", "False")
public:
    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TNavButtonSet VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TNavButtonSet buttons);
    bool Flat() const { return flat_; }
    virtual void SetFlat(bool flat);
    bool ConfirmDelete() const { return confirmDelete_; }
    void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }
    // The hint lines; see the header.
    TStrings* Hints() const;
    void SetHints(const TStrings* hints);
    // The hint button shows: Hints' line or the default.
    QString ButtonHint(TNavigateBtn button) const;
    static QString DefaultHint(TNavigateBtn button);

    TNavButton* Button(TNavigateBtn button) const { return buttons_[button]; }

    // Runs button's action as a click does (BeforeAction, action, OnClick);
    // an exception of BeforeAction or of the action reaches the caller.
    void BtnClick(TNavigateBtn button);
    // Enables the buttons by the dataset's state (after every data event).
    void UpdateButtons();
    // Lays the visible buttons out over the client width.
    void LayoutButtons();

    std::function<void(QObject* sender, TNavigateBtn button)> BeforeAction;
    std::function<void(QObject* sender, TNavigateBtn button)> OnClick;

protected:
    // Asks (when ConfirmDelete) and deletes the current record; true when
    // something was deleted.
    virtual bool DeleteRecords();
    // Fills bitmap with button's image strip; the base leaves it empty.
    virtual void ButtonGlyph(TNavigateBtn button, TBitmap& bitmap);
    // Gives every button its ButtonGlyph (two images: normal, disabled).
    void ApplyGlyphs();
    // Puts replacement in button's place: it takes the old button's glyph,
    // hint, index and click, becomes a child of the navigator, and the old
    // button is freed. The navigator owns replacement from now on.
    void ReplaceButton(TNavigateBtn button, TNavButton* replacement);
    void resizeEvent(QResizeEvent* event) override;

private:
    class TNavDataLink;
    void ApplyHints();
    void ButtonClicked(TNavigateBtn button);

    std::unique_ptr<TNavDataLink> link_;
    std::array<TNavButton*, NavigatorButtonCount> buttons_{};
    std::unique_ptr<TStringList> hints_;
    TNavButtonSet visibleButtons_ = AllNavButtons;
    bool flat_ = false;
    bool confirmDelete_ = true;
};

}  // namespace tk
