#pragma once
// TKelDisplay: the result line of the popup calculator, a framed box that
// shows its text right-aligned and vertically centred in its font.

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/control.h"

#include <QWidget>

namespace kelgrid {

// The display's frame and fill. Plain constants (internal linkage): an
// inline variable of the package would be a unique symbol, which keeps the
// shared library from ever unloading.
constexpr tk::TColor DisplayFrameColor = tk::RGB(157, 185, 235);
constexpr tk::TColor DisplayFillColor = tk::RGB(198, 211, 239);

class KELGRID_EXPORT TKelDisplay : public QWidget, public tk::TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE SetText)
public:
    explicit TKelDisplay(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace kelgrid
