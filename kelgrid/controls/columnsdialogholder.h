#pragma once
// TKelDBColumnsDialogHolder: a small widget that owns a TKelDBColumnsDialog,
// so that a form designer, which places only widgets, can put the
// non-visual dialog on a form and set its properties there. The holder
// publishes the dialog's properties a designer can edit (texts, counts,
// widths, options, help context, border style) and passes them through to
// the dialog; the dialog's grid is an object and is set in code:
// holder->Dialog()->SetDBGrid(grid), then holder->Dialog()->Execute().
//
// The holder starts hidden, so a running form never shows it; the designer
// plugin shows it, and it paints itself as the dialog's picture.

#include "kelgrid/controls/columnsdialog.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/qtsetter.h"

#include <QPixmap>
#include <QWidget>

namespace kelgrid {

class KELGRID_EXPORT TKelDBColumnsDialogHolder : public QWidget {
    Q_OBJECT
    Q_PROPERTY(tk::TControlEnums::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    TK_QT_SETTER(BorderStyle, tk::TControlEnums::TBorderStyle)
    Q_PROPERTY(QString ButtonsTitles READ ButtonsTitles WRITE SetButtonsTitles)
    TK_QT_SETTER(ButtonsTitles, const QString&)
    Q_PROPERTY(QString ColumnsTitle READ ColumnsTitle WRITE SetColumnsTitle)
    TK_QT_SETTER(ColumnsTitle, const QString&)
    Q_PROPERTY(int DefaultCount READ DefaultCount WRITE SetDefaultCount)
    TK_QT_SETTER(DefaultCount, int)
    Q_PROPERTY(int DefaultWidth READ DefaultWidth WRITE SetDefaultWidth)
    TK_QT_SETTER(DefaultWidth, int)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    TK_QT_SETTER(HelpContext, int)
    Q_PROPERTY(int MinimumCount READ MinimumCount WRITE SetMinimumCount)
    TK_QT_SETTER(MinimumCount, int)
    // The dialog's MinimumWidth: its setMinimumWidth hides QWidget's for
    // calls through the holder's type, so that uic's code sets the dialog's
    // and not the widget's (QWidget's minimumWidth is no designer property;
    // a form sizes a widget through minimumSize).
    Q_PROPERTY(int MinimumWidth READ MinimumWidth WRITE SetMinimumWidth)
    TK_QT_SETTER(MinimumWidth, int)
    Q_PROPERTY(kelgrid::TKelDBColumnsEnums::TKelDBColumnsOptions Options READ Options WRITE SetOptions)
    TK_QT_SETTER(Options, kelgrid::TKelDBColumnsEnums::TKelDBColumnsOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    TK_QT_SETTER(Title, const QString&)

public:
    Q_INVOKABLE explicit TKelDBColumnsDialogHolder(QWidget* parent = nullptr);

    // uic writes an enum or flag value a form gives without its scope as
    // <widget class>::value; these put the values of the published enums and
    // flags in the class's scope, so such code compiles.
    using enum tk::TControlEnums::TBorderStyle;
    using enum TKelDBColumnsEnums::TKelDBColumnsOption;


    // The dialog, owned by the holder.
    TKelDBColumnsDialog* Dialog() const { return dialog_; }
    // The picture the holder shows, size x size pixels: a column list
    // beside a check mark.
    static QPixmap Picture(int size);

    tk::TBorderStyle BorderStyle() const { return dialog_->BorderStyle(); }
    void SetBorderStyle(tk::TBorderStyle style) { dialog_->SetBorderStyle(style); }
    QString ButtonsTitles() const { return dialog_->ButtonsTitles(); }
    void SetButtonsTitles(const QString& titles) { dialog_->SetButtonsTitles(titles); }
    QString ColumnsTitle() const { return dialog_->ColumnsTitle(); }
    void SetColumnsTitle(const QString& title) { dialog_->SetColumnsTitle(title); }
    int DefaultCount() const { return dialog_->DefaultCount(); }
    void SetDefaultCount(int count) { dialog_->SetDefaultCount(count); }
    int DefaultWidth() const { return dialog_->DefaultWidth(); }
    void SetDefaultWidth(int width) { dialog_->SetDefaultWidth(width); }
    int HelpContext() const { return dialog_->HelpContext(); }
    void SetHelpContext(int context) { dialog_->SetHelpContext(context); }
    int MinimumCount() const { return dialog_->MinimumCount(); }
    void SetMinimumCount(int count) { dialog_->SetMinimumCount(count); }
    int MinimumWidth() const { return dialog_->MinimumWidth(); }
    void SetMinimumWidth(int width) { dialog_->SetMinimumWidth(width); }
    TKelDBColumnsOptions Options() const { return dialog_->Options(); }
    void SetOptions(TKelDBColumnsOptions options) { dialog_->SetOptions(options); }
    QString Title() const { return dialog_->Title(); }
    void SetTitle(const QString& title) { dialog_->SetTitle(title); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TKelDBColumnsDialog* dialog_;
};

}  // namespace kelgrid
