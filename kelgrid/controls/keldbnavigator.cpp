// TKelDBNavigator: the button replacement, captions, the settings passed to
// the buttons, the gradient background and the multi-row delete.

#include "kelgrid/controls/keldbnavigator.h"

#include "kelgrid/controls/navglyphs.h"
#include "kelgrid/controls/orvthemes.h"
#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/formenums.h"
#include "toolkit/ui/pictures.h"

namespace kelgrid {

using tk::NavigatorButtonCount;
using tk::TNavigateBtn;

namespace {

constexpr const char* kDefaultCaptions[NavigatorButtonCount] = {
    "First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Post", "Cancel", "Refresh",
};

QString DefaultCaptionsText()
{
    tk::TStringList list;
    for (const char* caption : kDefaultCaptions)
        list.Add(QString::fromLatin1(caption));
    return list.Text();
}

}  // namespace

TKelDBNavigator::TKelDBNavigator(QWidget* parent)
    : tk::TDBNavigator(parent),
      gradient_(new TOrvGradientButton(this)),
      captions_(std::make_unique<tk::TStringList>()),
      defaultCaptions_(std::make_unique<tk::TStringList>())
{
    ApplyGlyphs();
    ReplaceButtons();
    SetDoubleBuffered(true);
    tk::TControl::SetParentBackground(false);
    gradient_->OnChange = [this](QObject*) { ApplyGradient(); };
    ApplyGradient();
    defaultCaptions_->SetText(DefaultCaptionsText());
    captions_->OnChange = [this](tk::TStrings*) { ApplyCaptions(); };
    ApplyCaptions();
}

TKelDBNavigator::~TKelDBNavigator() = default;

void TKelDBNavigator::ReplaceButtons()
{
    for (int i = 0; i < NavigatorButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        auto* button = new TKelDBNavButton(this);
        button->SetTransparent(ParentBackground() && Flat());
        button->SetFlat(Flat());
        button->SetFine(fine_);
        button->SetFineTheme(fineTheme_);
        button->setGeometry(20 * i, 0, 20, 18);
        ReplaceButton(kind, button);
    }
}

TKelDBNavButton* TKelDBNavigator::KelButton(TNavigateBtn button) const
{
    auto* kelButton = qobject_cast<TKelDBNavButton*>(Button(button));
    Q_ASSERT(kelButton);
    return kelButton;
}

void TKelDBNavigator::ButtonGlyph(TNavigateBtn button, tk::TBitmap& bitmap)
{
    NavigatorGlyph(static_cast<TNavigatorGlyphKind>(button), bitmap);
}

QString TKelDBNavigator::DefaultCaption(TNavigateBtn button)
{
    return QString::fromLatin1(kDefaultCaptions[button]);
}

tk::TStrings* TKelDBNavigator::Captions() const
{
    const bool designing = HasState(tk::TComponentStateFlag::csDesigning) &&
                           !HasState(tk::TComponentStateFlag::csLoading) &&
                           !HasState(tk::TComponentStateFlag::csReading);
    if (designing && captions_->Count() == 0)
        return defaultCaptions_.get();
    return captions_.get();
}

void TKelDBNavigator::SetCaptions(const tk::TStrings* captions)
{
    if (captions && captions->Text() == defaultCaptions_->Text())
        captions_->Clear();
    else if (captions)
        captions_->Assign(captions);
    else
        captions_->Clear();
}

QString TKelDBNavigator::ButtonCaption(TNavigateBtn button) const
{
    if (!showCaptions_)
        return {};
    const int line = static_cast<int>(button);
    if (line < captions_->Count() && !captions_->Strings(line).isEmpty())
        return captions_->Strings(line);
    return DefaultCaption(button);
}

void TKelDBNavigator::ApplyCaptions()
{
    for (int i = 0; i < NavigatorButtonCount; ++i)
        Button(static_cast<TNavigateBtn>(i))->SetCaption(ButtonCaption(static_cast<TNavigateBtn>(i)));
}

void TKelDBNavigator::ApplyGradient()
{
    for (int i = 0; i < NavigatorButtonCount; ++i)
        KelButton(static_cast<TNavigateBtn>(i))->SetGradient(gradient_);
    update();
}

void TKelDBNavigator::ApplyTransparency()
{
    for (int i = 0; i < NavigatorButtonCount; ++i)
        Button(static_cast<TNavigateBtn>(i))->SetTransparent(ParentBackground() && Flat());
}

void TKelDBNavigator::SetFine(bool fine)
{
    if (fine_ == fine)
        return;
    fine_ = fine;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        KelButton(static_cast<TNavigateBtn>(i))->SetFine(fine);
}

void TKelDBNavigator::SetFineTheme(TFineTheme theme)
{
    if (fineTheme_ == theme)
        return;
    fineTheme_ = theme;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        KelButton(static_cast<TNavigateBtn>(i))->SetFineTheme(theme);
}

void TKelDBNavigator::SetGradient(const TOrvGradient* gradient)
{
    gradient_->Assign(gradient);
    ApplyGradient();
}

void TKelDBNavigator::SetLayout(tk::TButtonLayout layout)
{
    if (layout_ == layout)
        return;
    layout_ = layout;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        Button(static_cast<TNavigateBtn>(i))->SetLayout(layout);
}

void TKelDBNavigator::SetMargin(int margin)
{
    if (margin_ == margin)
        return;
    margin_ = margin;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        Button(static_cast<TNavigateBtn>(i))->SetMargin(margin);
}

void TKelDBNavigator::SetSpacing(int spacing)
{
    if (spacing_ == spacing)
        return;
    spacing_ = spacing;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        Button(static_cast<TNavigateBtn>(i))->SetSpacing(spacing);
}

void TKelDBNavigator::SetShowCaptions(bool show)
{
    if (showCaptions_ == show)
        return;
    showCaptions_ = show;
    ApplyCaptions();
}

void TKelDBNavigator::SetFlat(bool flat)
{
    tk::TDBNavigator::SetFlat(flat);
    ApplyTransparency();
}

void TKelDBNavigator::SetParentBackground(bool on)
{
    tk::TControl::SetParentBackground(on);
    ApplyTransparency();
    update();
}

void TKelDBNavigator::Loaded()
{
    tk::TDBNavigator::Loaded();
    ApplyCaptions();
}

void TKelDBNavigator::Invalidate()
{
    tk::TDBNavigator::Invalidate();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (NeedsInvalidate && NeedsInvalidate(child))
            child->update();
}

void TKelDBNavigator::PaintPanel(tk::TCanvas& canvas)
{
    if (ParentBackground() || !gradient_->IsActive(true)) {
        tk::TDBNavigator::PaintPanel(canvas);
        return;
    }
    // The gradient shows through the face colour, so the panel is painted on
    // an image it can read back first.
    tk::TBitmap buffer;
    buffer.SetSize(width(), height());
    tk::TCanvas& image = *buffer.Canvas();
    image.SetPalette(canvas.Palette());
    tk::TDBNavigator::PaintPanel(image);
    gradient_->FillBack(image, rect(), FaceColor(), 0, 0, false, false, false);
    image.Release();
    canvas.Painter()->drawImage(0, 0, buffer.Image());
}

TKelCustomDBGrid* TKelDBNavigator::GridWithSelectedRows() const
{
    tk::TDataSource* source = DataSource();
    if (!source)
        return nullptr;
    // The grids on the source are those whose links it holds.
    for (tk::TDataLink* link : source->DataLinks()) {
        auto* gridLink = dynamic_cast<TKelGridDataLink*>(link);
        TKelCustomDBGrid* grid = gridLink ? gridLink->Grid() : nullptr;
        if (grid && grid->SelectedRows()->Count() > 1)
            return grid;
    }
    return nullptr;
}

bool TKelDBNavigator::DeleteRecords()
{
    TKelCustomDBGrid* grid = GridWithSelectedRows();
    if (!grid)
        return tk::TDBNavigator::DeleteRecords();
    if (ConfirmDelete() &&
        tk::MessageDlg(tk::LoadResString(&tk::SDeleteMultipleRecordsQuestion), tk::TMsgDlgType::mtConfirmation,
                       tk::mbYesNo) != tk::mrYes)
        return false;
    grid->SelectedRows()->Delete();
    return true;
}

}  // namespace kelgrid
