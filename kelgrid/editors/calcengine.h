#pragma once
// TKelCalcEngine: the arithmetic of the popup calculator, a state machine
// fed with key codes and read back as display text; no widgets.
//
// The display text is the truth: the value is always the number the text
// shows, parsed with the process's number settings (tk::NumberSettings, so
// the decimal separator follows the locale). A key that would leave the
// display unparsable (a second decimal separator) or whose arithmetic fails
// (division by zero, overflow, the square root of a negative number) beeps
// and changes nothing more; the next key works on what the display shows.
//
// Key codes are characters: the digits, "," and "." (both the locale's
// separator), "+", "-", "*", "/", "=", "%", "@" (square root), "R" or "r"
// (reciprocal), "_" (sign), and the control codes below. Others are ignored.

#include "kelgrid/kelgridexport.h"

#include <QChar>
#include <QString>

namespace kelgrid {

namespace calckeys {
inline constexpr char16_t kcOk = 10;           // accept; the popup closes, the engine ignores it
inline constexpr char16_t kcBack = 8;          // removes the last typed character
inline constexpr char16_t kcClearEntry = 127;  // CE
inline constexpr char16_t kcClear = 27;        // C
inline constexpr char16_t kcMemoryClear = 12;  // MC
inline constexpr char16_t kcMemoryAdd = 16;    // M+
inline constexpr char16_t kcMemoryRecall = 18; // MR
inline constexpr char16_t kcMemoryStore = 19;  // MS
inline constexpr char16_t kcSquareRoot = u'@';
inline constexpr char16_t kcReciprocal = u'R';
inline constexpr char16_t kcSign = u'_';
}  // namespace calckeys

class KELGRID_EXPORT TKelCalcEngine {
public:
    TKelCalcEngine() { ClearAll(); }

    QString Text() const { return text_; }
    double Value() const { return value_; }
    double Memory() const { return memory_; }
    double Total() const { return total_; }

    // Clear all, then the display from text; a text that is no number
    // leaves "0" (and beeps, as any refused text does).
    void Start(const QString& text);
    // The number to hand back: a pending calculation is finished first (as
    // "=" would). False when that calculation fails; the display then keeps
    // what it showed and text is left alone.
    bool Result(QString& text);

    // Processes one key code as typed or clicked.
    void Key(QChar code);

    // An empty text becomes "0"; a text that does not parse is refused with
    // a beep (false, nothing changes).
    bool SetText(const QString& text);
    // The value written in the general format (15 significant digits);
    // false (with a beep) for NaN or infinities.
    bool SetValue(double value);

private:
    void ClearAll();
    void ClearEntry();
    void Digit(QChar c);
    void Back();
    void ChangeSign();
    void Operator(QChar op);
    // "=": false when the arithmetic failed.
    bool Calculate();
    // Percent, square root and reciprocal: value functions of the display.
    void Function(QChar code);

    QString text_;
    double value_ = 0;
    double total_ = 0;
    double savedTotal_ = 0;
    double operand_ = 0;
    double memory_ = 0;
    QChar operation_ = u'=';
    bool typing_ = false;
    bool operatorPending_ = false;
    bool newOperand_ = false;
};

}  // namespace kelgrid
