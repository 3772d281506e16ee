#pragma once
// TKelCalcButton: one key of the popup calculator. A click hands the key's
// code (a character, see calcengine.h) to its calculator, exactly as the
// same character typed would. Flat unless visual themes are on: a flat key
// shows a raised inner edge, sunken while pressed; a themed key is the
// theme's push button. The caption is drawn in the key's font colour.

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/control.h"

#include <QAbstractButton>
#include <QChar>

namespace kelgrid {

class TKelPopupCalculator;

class KELGRID_EXPORT TKelCalcButton : public QAbstractButton, public tk::TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    TKelCalcButton(TKelPopupCalculator* calculator, QChar code, QWidget* parent);

    QChar Code() const { return code_; }
    TKelPopupCalculator* Calculator() const { return calculator_; }
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TKelPopupCalculator* calculator_;
    QChar code_;
    bool flat_;
    bool hot_ = false;
};

}  // namespace kelgrid
