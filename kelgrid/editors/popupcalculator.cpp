#include "kelgrid/editors/popupcalculator.h"

#include "kelgrid/controls/gradient.h"
#include "kelgrid/editors/calcbutton.h"
#include "kelgrid/editors/calcdisplay.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <cstdlib>

namespace kelgrid {

using namespace calckeys;

namespace {

constexpr int KeyHeight = 22;
const QRect DisplayRect(4, 5, 194, 21);

// The codes that mean something to the calculator; other keys are left to
// whoever forwarded them.
bool IsCalculatorCode(QChar code)
{
    static const QString codes = QStringLiteral("0123456789,.+-*/=%@Rr_");
    switch (code.unicode()) {
    case kcOk:
    case kcBack:
    case kcClearEntry:
    case kcClear:
    case kcMemoryClear:
    case kcMemoryAdd:
    case kcMemoryRecall:
    case kcMemoryStore:
        return true;
    default:
        return codes.contains(code);
    }
}

// The code a key press types: the platform's text, with the keys that type
// none (or, for Back, not everywhere) mapped to their codes.
QChar CodeOf(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    if (mods == Qt::NoModifier) {
        switch (event.key()) {
        case Qt::Key_Delete:
            return QChar(kcClearEntry);
        case Qt::Key_F9:
            return QChar(kcSign);
        case Qt::Key_Backspace:
            return QChar(kcBack);
        default:
            break;
        }
    }
    const QString text = event.text();
    if (!text.isEmpty())
        return text.at(0);
    // Ctrl+letter types its control character (Ctrl+L is MC, Ctrl+P M+,
    // Ctrl+R MR, Ctrl+S MS) even where the platform gives no text for it.
    if (mods == Qt::ControlModifier && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return QChar(char16_t(event.key() - Qt::Key_A + 1));
    return QChar();
}

}  // namespace

TKelPopupCalculator::TKelPopupCalculator(QWidget* parent)
    : TPopupWindow(parent), gradient_(new TOrvGradient(this)), display_(new TKelDisplay(this))
{
    resize(DefaultWidth, DefaultHeight);
    display_->setGeometry(DisplayRect);

    const tk::TColor black = tk::clBlack;
    const tk::TColor red = tk::clRed;
    const tk::TColor blue = tk::clBlue;
    AddKey(4, 30, 30, QStringLiteral("OK"), QChar(kcOk), black);
    AddKey(40, 30, 50, QStringLiteral("Back"), QChar(kcBack), red);
    AddKey(94, 30, 50, QStringLiteral("CE"), QChar(kcClearEntry), red);
    AddKey(148, 30, 50, QStringLiteral("C"), QChar(kcClear), red);

    // The four rows below: a memory key, three digits, an operator and a
    // value function.
    struct Row {
        int top;
        const char* memoryCaption;
        char16_t memoryCode;
        const char* digits;
        char16_t op;
        const char* functionCaption;
        char16_t function;
    };
    const Row rows[] = {{56, "MC", kcMemoryClear, "789", u'/', "sqrt", kcSquareRoot},
                        {80, "MR", kcMemoryRecall, "456", u'*', "%", u'%'},
                        {104, "MS", kcMemoryStore, "123", u'-', "1/x", kcReciprocal}};
    for (const Row& row : rows) {
        AddKey(4, row.top, 30, QString::fromLatin1(row.memoryCaption), QChar(row.memoryCode), red);
        for (int i = 0; i < 3; ++i)
            AddKey(40 + 32 * i, row.top, 30, QString(QLatin1Char(row.digits[i])), QLatin1Char(row.digits[i]), blue);
        AddKey(136, row.top, 30, QString(QChar(row.op)), QChar(row.op), red);
        AddKey(168, row.top, 30, QString::fromLatin1(row.functionCaption), QChar(row.function), blue);
    }
    AddKey(4, 128, 30, QStringLiteral("M+"), QChar(kcMemoryAdd), red);
    AddKey(40, 128, 30, QStringLiteral("0"), QChar(u'0'), blue);
    AddKey(72, 128, 30, QStringLiteral("+/-"), QChar(kcSign), blue);
    AddKey(104, 128, 30, QStringLiteral(","), QChar(u','), blue);
    AddKey(136, 128, 30, QStringLiteral("+"), QChar(u'+'), red);
    AddKey(168, 128, 30, QStringLiteral("="), QChar(u'='), red);

    fontHeight_ = std::abs(Font()->Height());
    baseFontHeight_ = fontHeight_;
    engine_.Start(QString());
    ShowEngine();
}

TKelPopupCalculator::~TKelPopupCalculator() = default;

void TKelPopupCalculator::AddKey(int left, int top, int width, const QString& caption, QChar code,
                                 tk::TColor color)
{
    auto* key = new TKelCalcButton(this, code, this);
    key->setGeometry(left, top, width, KeyHeight);
    key->setText(caption);
    tk::TFont font;
    font.Assign(Font());
    font.SetColor(color);
    key->SetFont(&font);
    keys_.append(key);
    keyRects_.append(key->geometry());
    keyColors_.append(color);
}

void TKelPopupCalculator::SetInitialText(const QString& text)
{
    engine_.Start(text);
    ShowEngine();
}

bool TKelPopupCalculator::ResultText(QString& text)
{
    const bool done = engine_.Result(text);
    ShowEngine();
    return done;
}

QString TKelPopupCalculator::DisplayText() const
{
    return display_->Text();
}

void TKelPopupCalculator::ProcessKey(QChar code)
{
    if (code == QChar(kcOk)) {
        // A pending calculation that fails keeps the popup open on the
        // display the user can still correct, rather than accepting it.
        QString text;
        if (ResultText(text))
            CloseUp(true);
        return;
    }
    engine_.Key(code);
    ShowEngine();
}

void TKelPopupCalculator::ShowEngine()
{
    display_->SetText(engine_.Text());
}

TKelCalcButton* TKelPopupCalculator::KeyFor(QChar code) const
{
    for (TKelCalcButton* key : keys_)
        if (key->Code() == code)
            return key;
    return nullptr;
}

void TKelPopupCalculator::SetGradient(const TOrvGradient* gradient)
{
    if (!gradient)
        return;
    gradient_->Assign(gradient);
    update();
}

void TKelPopupCalculator::SetListBorder(TListBorderStyle style)
{
    if (style == listBorder_)
        return;
    listBorder_ = style;
    update();
}

void TKelPopupCalculator::keyPressEvent(QKeyEvent* event)
{
    const QChar code = CodeOf(*event);
    if (!IsCalculatorCode(code)) {
        event->ignore();
        return;
    }
    event->accept();
    tk::Guarded([this, code] { ProcessKey(code); });
}

void TKelPopupCalculator::FontChanged()
{
    TPopupWindow::FontChanged();
    const int height = std::abs(Font()->Height());
    if (baseFontHeight_ > 0 && height > 0 && height != fontHeight_)
        Rescale(height);
}

void TKelPopupCalculator::Rescale(int newHeight)
{
    // From the standard layout each time, so that sizes do not drift by
    // rounding over several font changes.
    const auto scaled = [this, newHeight](int v) { return v * newHeight / baseFontHeight_; };
    const auto scaledRect = [&scaled](const QRect& r) {
        return QRect(scaled(r.left()), scaled(r.top()), scaled(r.width()), scaled(r.height()));
    };
    resize(scaled(DefaultWidth), scaled(DefaultHeight));
    display_->setGeometry(scaledRect(DisplayRect));
    for (int i = 0; i < keys_.size(); ++i) {
        keys_[i]->setGeometry(scaledRect(keyRects_[i]));
        // The key takes the new font but keeps its own colour.
        tk::TFont font;
        font.Assign(Font());
        font.SetColor(keyColors_[i]);
        keys_[i]->SetFont(&font);
    }
    fontHeight_ = newHeight;
}

void TKelPopupCalculator::paintEvent(QPaintEvent*)
{
    tk::Guarded([this] {
        tk::TCanvas canvas(this);
        const tk::TColor color = Color() == tk::clDefault ? tk::clBtnFace : Color();
        if (gradient_->IsActive(true)) {
            gradient_->FillRect(canvas, rect(), color, false, false);
        } else {
            canvas.Brush()->SetColor(color);
            canvas.FillRect(rect());
        }
        // The single border: the grid's list border, or the window frame.
        tk::TColor frame = tk::clWindowFrame;
        if (listBorder_ == lbGray)
            frame = tk::clGray;
        else if (listBorder_ == lbMild)
            frame = tk::clSilver;
        canvas.Brush()->SetColor(frame);
        canvas.FrameRect(rect());
    });
}

}  // namespace kelgrid
