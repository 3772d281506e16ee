#pragma once
// TKelPopupCalculator: the calculator the grid's in-place editor drops down
// for calculator columns. A display over 28 keys (digits, the four
// operations, percent, square root, reciprocal, sign, memory, Back, CE, C
// and OK), worked by mouse or by the keys the editor forwards; the
// arithmetic is TKelCalcEngine's.
//
// What the editor calls:
//   SetInitialText(cell text)  on opening: clear all, then the cell's number
//                              (a text that is no number opens at 0);
//   ResultText(text)           on an accepted close: finishes a pending
//                              calculation and gives the display text; false
//                              when that calculation fails, and the cell is
//                              then left as it was;
//   OnCloseUp(sender, accept)  (TPopupWindow) fired by CloseUp; the OK key
//                              closes up accepting;
//   ForwardKey(key event)      (TPopupWindow) the keys typed in the editor;
//   size()/sizeHint()          the size it wants (205 x 155 at the
//                              standard font, scaled with its font);
//   SetGradient, SetListBorder the grid's gradient settings and list border.
// Enter and Esc are the editor's own (it closes the popup with them).

#include "kelgrid/editors/calcengine.h"
#include "kelgrid/grid/gridenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/popupwindow.h"

#include <QVector>

namespace kelgrid {

class TKelCalcButton;
class TKelDisplay;
class TOrvGradient;

class KELGRID_EXPORT TKelPopupCalculator : public tk::TPopupWindow {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 205;
    static constexpr int DefaultHeight = 155;

    explicit TKelPopupCalculator(QWidget* parent = nullptr);
    ~TKelPopupCalculator() override;

    void SetInitialText(const QString& text);
    bool ResultText(QString& text);
    // The display's text as it stands.
    QString DisplayText() const;

    // Processes a key code as a click on its key (OK included).
    void ProcessKey(QChar code);

    TOrvGradient* Gradient() const { return gradient_; }
    // Copies gradient's settings (nullptr: nothing).
    void SetGradient(const TOrvGradient* gradient);
    TListBorderStyle ListBorder() const { return listBorder_; }
    void SetListBorder(TListBorderStyle style);

    TKelDisplay* Display() const { return display_; }
    const QVector<TKelCalcButton*>& Keys() const { return keys_; }
    // The key with code, or nullptr.
    TKelCalcButton* KeyFor(QChar code) const;
    const TKelCalcEngine& Engine() const { return engine_; }

    QSize sizeHint() const override { return size(); }

protected:
    void FontChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void AddKey(int left, int top, int width, const QString& caption, QChar code, tk::TColor color);
    void ShowEngine();
    // Sizes and places every part by newHeight : the font height of the
    // standard layout.
    void Rescale(int newHeight);

    TKelCalcEngine engine_;
    TOrvGradient* gradient_;
    TKelDisplay* display_;
    QVector<TKelCalcButton*> keys_;
    QVector<QRect> keyRects_;  // the standard layout
    QVector<tk::TColor> keyColors_;
    TListBorderStyle listBorder_ = lbDefault;
    int fontHeight_ = 0;      // the font height the current layout was made for
    int baseFontHeight_ = 0;  // the one the standard layout is for
};

}  // namespace kelgrid
