#pragma once
// TKelDBColumnsDialog: a non-visual component that shows the columns form
// (columnsform.h) for its grid. Execute builds the form from the
// properties, leaves the grid's editor mode for the time of the dialog,
// and afterwards moves the grid off a selected column the user hid.
//
// Texts: Title, ColumnsTitle and ButtonsTitles ("OK;Cancel;&Apply;&Help",
// the four captions in that order) fall back to their defaults when set
// empty and are stored only when they differ from them.
//
// Counts and widths: MinimumCount is at least 4 and DefaultCount at least
// MinimumCount; MinimumWidth is at least 0 and at most DefaultWidth when
// that is set (DefaultWidth 0 keeps the designed width).
//
// The grid is watched: when it is destroyed DBGrid becomes nullptr. A grid
// that was editing gets its editor back when it has the focus again (at
// once, or from the event loop as the focus returns from the form).

#include "kelgrid/controls/columnsoptions.h"
// Complete for the QPointer of the grid, so the header compiles on its own.
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"
#include "toolkit/ui/controlenums.h"

#include <QPointer>
#include <QString>

namespace kelgrid {

class TKelDBGrid;
class TKelDBColumnsForm;

class KELGRID_EXPORT TKelDBColumnsDialog : public tk::TComponent {
    Q_OBJECT
    Q_MOC_INCLUDE("kelgrid/grid/dbgrid.h")
    Q_PROPERTY(tk::TControlEnums::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString ButtonsTitles READ ButtonsTitles WRITE SetButtonsTitles)
    Q_PROPERTY(QString ColumnsTitle READ ColumnsTitle WRITE SetColumnsTitle)
    Q_PROPERTY(kelgrid::TKelDBGrid* DBGrid READ DBGrid WRITE SetDBGrid)
    Q_PROPERTY(int DefaultCount READ DefaultCount WRITE SetDefaultCount)
    Q_PROPERTY(int DefaultWidth READ DefaultWidth WRITE SetDefaultWidth)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(int MinimumCount READ MinimumCount WRITE SetMinimumCount)
    Q_PROPERTY(int MinimumWidth READ MinimumWidth WRITE SetMinimumWidth)
    Q_PROPERTY(kelgrid::TKelDBColumnsEnums::TKelDBColumnsOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_CLASSINFO("Default:BorderStyle", "bsSingle")
    Q_CLASSINFO("Default:DefaultCount", "20")
    Q_CLASSINFO("Default:DefaultWidth", "0")
    Q_CLASSINFO("Default:HelpContext", "0")
    Q_CLASSINFO("Default:MinimumCount", "4")
    Q_CLASSINFO("Default:MinimumWidth", "0")
    Q_CLASSINFO("Default:Options", "[coCancelButton,coHelpButton,coMarkVisibleCols,coShowEmptyCols]")

public:
    explicit TKelDBColumnsDialog(QObject* owner = nullptr);
    ~TKelDBColumnsDialog() override;

    static QString DefaultButtonsTitles();
    static QString DefaultColumnsTitle();
    static QString DefaultTitle();

    tk::TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(tk::TBorderStyle style) { borderStyle_ = style; }
    QString ButtonsTitles() const { return buttonsTitles_; }
    void SetButtonsTitles(const QString& titles);
    Q_INVOKABLE bool IsButtonsTitlesStored() const { return buttonsTitles_ != DefaultButtonsTitles(); }
    QString ColumnsTitle() const { return columnsTitle_; }
    void SetColumnsTitle(const QString& title);
    Q_INVOKABLE bool IsColumnsTitleStored() const { return columnsTitle_ != DefaultColumnsTitle(); }
    QString Title() const { return title_; }
    void SetTitle(const QString& title);
    Q_INVOKABLE bool IsTitleStored() const { return title_ != DefaultTitle(); }

    TKelDBGrid* DBGrid() const { return grid_; }
    void SetDBGrid(TKelDBGrid* grid);

    int DefaultCount() const { return defaultCount_; }
    void SetDefaultCount(int count);
    int MinimumCount() const { return minimumCount_; }
    void SetMinimumCount(int count);
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int width);
    int MinimumWidth() const { return minimumWidth_; }
    void SetMinimumWidth(int width);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    TKelDBColumnsOptions Options() const { return options_; }
    // coAllowMoving brings coShowEmptyCols with it.
    void SetOptions(TKelDBColumnsOptions options);

    // Shows the form modally; true when the user closed it with OK (any way
    // of closing with coAutoUpdate).
    bool Execute();
    // The form while Execute runs, else nullptr.
    TKelDBColumnsForm* Form() const { return form_; }

    tk::TNotifyEvent OnApply;
    tk::TNotifyEvent OnClose;
    tk::TNotifyEvent OnCreate;
    tk::TNotifyEvent OnShow;

protected:
    virtual void DoApply();
    virtual void DoClose();
    virtual void DoCreate();
    virtual void DoShow();
    // A hook for descendants, run on the built form before it shows.
    virtual void AdjustColumnsForm(TKelDBColumnsForm* form);
    void Notification(tk::TComponentCore* component, tk::TOperation operation) override;

private:
    void SetUpForm(TKelDBColumnsForm& form);
    // After the dialog: the first showing column after the fixed ones.
    void SelectFirstShowingColumn();

    tk::TBorderStyle borderStyle_ = tk::bsSingle;
    QString buttonsTitles_;
    QString columnsTitle_;
    QString title_;
    QPointer<TKelDBGrid> grid_;
    int defaultCount_ = 20;
    int minimumCount_ = 4;
    int defaultWidth_ = 0;
    int minimumWidth_ = 0;
    int helpContext_ = 0;
    TKelDBColumnsOptions options_ = DefaultColumnsOptions;
    TKelDBColumnsForm* form_ = nullptr;
};

}  // namespace kelgrid
