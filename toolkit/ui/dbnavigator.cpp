// TDBNavigator: the buttons, their enabling by the data link, the actions
// and the layout.

#include "toolkit/ui/dbnavigator.h"

#include "toolkit/core/dbconsts.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/formenums.h"
#include "toolkit/ui/pictures.h"

#include <QResizeEvent>

namespace tk {

class TDBNavigator::TNavDataLink : public TDataLink {
public:
    explicit TNavDataLink(TDBNavigator* navigator) : navigator_(navigator) {}

protected:
    void ActiveChanged() override { navigator_->UpdateButtons(); }
    void DataSetChanged() override { navigator_->UpdateButtons(); }
    void DataSetScrolled(int) override { navigator_->UpdateButtons(); }
    void EditingChanged() override { navigator_->UpdateButtons(); }

private:
    TDBNavigator* navigator_;
};

TDBNavigator::TDBNavigator(QWidget* parent)
    : TPanel(parent), link_(std::make_unique<TNavDataLink>(this)), hints_(std::make_unique<TStringList>())
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    for (int i = 0; i < NavigatorButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        auto* button = new TNavButton(this);
        button->SetIndex(kind);
        button->setGeometry(i * 20, 0, 20, 18);
        button->OnClick = [this, kind](QObject*) { ButtonClicked(kind); };
        buttons_[i] = button;
    }
    hints_->OnChange = [this](TStrings*) { ApplyHints(); };
    ApplyHints();
    resize(240, 25);
    UpdateButtons();
}

TDBNavigator::~TDBNavigator()
{
    // The buttons go with the widget; the link must not call back into a
    // navigator being destroyed.
    link_->SetDataSource(nullptr);
}

TDataSource* TDBNavigator::DataSource() const
{
    return link_->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* source)
{
    link_->SetDataSource(source);
    UpdateButtons();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons)
{
    visibleButtons_ = buttons & AllNavButtons;
    for (TNavButton* button : buttons_)
        button->setVisible((visibleButtons_ & NavButtonBit(button->Index())) != 0);
    LayoutButtons();
}

void TDBNavigator::SetFlat(bool flat)
{
    if (flat_ == flat)
        return;
    flat_ = flat;
    for (TNavButton* button : buttons_)
        button->SetFlat(flat);
}

TStrings* TDBNavigator::Hints() const
{
    return hints_.get();
}

void TDBNavigator::SetHints(const TStrings* hints)
{
    hints_->Assign(hints);
}

QString TDBNavigator::DefaultHint(TNavigateBtn button)
{
    static const char* const hints[NavigatorButtonCount] = {
        "First record",  "Prior record",  "Next record", "Last record", "Insert record",
        "Delete record", "Edit record",   "Post edit",   "Cancel edit", "Refresh data",
    };
    return QString::fromLatin1(hints[button]);
}

QString TDBNavigator::ButtonHint(TNavigateBtn button) const
{
    const int line = static_cast<int>(button);
    if (line < hints_->Count() && !hints_->Strings(line).isEmpty())
        return hints_->Strings(line);
    return DefaultHint(button);
}

void TDBNavigator::ApplyHints()
{
    for (TNavButton* button : buttons_)
        button->SetHint(ButtonHint(button->Index()));
}

void TDBNavigator::UpdateButtons()
{
    TDataSet* dataSet = link_->Active() ? link_->DataSet() : nullptr;
    if (!dataSet) {
        for (TNavButton* button : buttons_)
            button->SetEnabled(false);
        return;
    }
    const bool bof = dataSet->Bof();
    const bool eof = dataSet->Eof();
    const bool editing = link_->Editing();
    const bool canModify = dataSet->CanModify() && !link_->ReadOnly();
    buttons_[nbFirst]->SetEnabled(!bof);
    buttons_[nbPrior]->SetEnabled(!bof);
    buttons_[nbNext]->SetEnabled(!eof);
    buttons_[nbLast]->SetEnabled(!eof);
    buttons_[nbInsert]->SetEnabled(canModify);
    buttons_[nbDelete]->SetEnabled(canModify && !dataSet->IsEmpty());
    buttons_[nbEdit]->SetEnabled(canModify && !editing);
    buttons_[nbPost]->SetEnabled(canModify && editing);
    buttons_[nbCancel]->SetEnabled(canModify && editing);
    buttons_[nbRefresh]->SetEnabled(canModify);
}

void TDBNavigator::LayoutButtons()
{
    int count = 0;
    for (TNavButton* button : buttons_)
        if (visibleButtons_ & NavButtonBit(button->Index()))
            ++count;
    if (count == 0)
        return;
    const int width = ClientWidth() / count;
    int extra = ClientWidth() % count;
    int left = 0;
    for (TNavButton* button : buttons_) {
        if (!(visibleButtons_ & NavButtonBit(button->Index())))
            continue;
        const int buttonWidth = width + (extra > 0 ? 1 : 0);
        if (extra > 0)
            --extra;
        button->setGeometry(left, 0, buttonWidth, ClientHeight());
        left += buttonWidth;
    }
}

void TDBNavigator::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    LayoutButtons();
}

void TDBNavigator::ButtonClicked(TNavigateBtn button)
{
    // Runs from the button's click, which reports what escapes.
    BtnClick(button);
}

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    TDataSet* dataSet = link_->Active() ? link_->DataSet() : nullptr;
    if (!dataSet)
        return;
    if (BeforeAction)
        BeforeAction(this, button);
    switch (button) {
    case nbFirst: dataSet->First(); break;
    case nbPrior: dataSet->Prior(); break;
    case nbNext: dataSet->Next(); break;
    case nbLast: dataSet->Last(); break;
    case nbInsert: dataSet->Insert(); break;
    case nbDelete:
        if (!DeleteRecords())
            return;
        break;
    case nbEdit: dataSet->Edit(); break;
    case nbPost: dataSet->Post(); break;
    case nbCancel: dataSet->Cancel(); break;
    case nbRefresh: dataSet->Refresh(); break;
    }
    if (OnClick)
        OnClick(this, button);
}

bool TDBNavigator::DeleteRecords()
{
    TDataSet* dataSet = link_->DataSet();
    if (confirmDelete_ && MessageDlg(LoadResString(&SDeleteRecordQuestion), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
        return false;
    dataSet->Delete();
    return true;
}

void TDBNavigator::ButtonGlyph(TNavigateBtn, TBitmap&) {}

void TDBNavigator::ApplyGlyphs()
{
    for (TNavButton* button : buttons_) {
        TBitmap bitmap;
        ButtonGlyph(button->Index(), bitmap);
        button->SetGlyph(&bitmap);
        button->SetNumGlyphs(2);
    }
}

void TDBNavigator::ReplaceButton(TNavigateBtn button, TNavButton* replacement)
{
    Q_ASSERT(replacement && replacement != buttons_[button]);
    TNavButton* old = buttons_[button];
    replacement->setParent(this);
    replacement->SetIndex(button);
    replacement->SetGlyph(old->Glyph());
    replacement->SetNumGlyphs(old->NumGlyphs());
    replacement->SetHint(old->Hint());
    replacement->OnClick = old->OnClick;
    replacement->SetEnabled(old->Enabled());
    replacement->setVisible((visibleButtons_ & NavButtonBit(button)) != 0);
    buttons_[button] = replacement;
    delete old;
}

}  // namespace tk
