#pragma once
// TKelDisplay: the result line of the popup calculator, a framed box that
// shows its text right-aligned and vertically centred in its font.

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/control.h"

#include <QWidget>

namespace kelgrid {

class KELGRID_EXPORT TKelDisplay : public QWidget, public tk::TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE SetText)
public:
    static constexpr tk::TColor FrameColor = tk::RGB(157, 185, 235);
    static constexpr tk::TColor FillColor = tk::RGB(198, 211, 239);

    explicit TKelDisplay(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace kelgrid
