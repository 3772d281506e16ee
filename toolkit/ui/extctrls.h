#pragma once
// Progress bars and images.

#include "toolkit/ui/control.h"

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

namespace tk {

class TProgressBar : public QProgressBar, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_CLASSINFO("Default:Min", "0")
    Q_CLASSINFO("Default:Max", "100")
public:
    explicit TProgressBar(QWidget* parent = nullptr);
    int Min() const { return minimum(); }
    void SetMin(int min) { setMinimum(min); }
    int Max() const { return maximum(); }
    // A maximum equal to the minimum would turn the bar into a busy
    // indicator; it is kept one above instead.
    void SetMax(int max);
    int Position() const { return position_; }
    // Clamped to [Min, Max].
    void SetPosition(int position);

private:
    int position_ = 0;
};

class TImage : public QLabel, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    explicit TImage(QWidget* parent = nullptr);
    QPixmap Picture() const { return pixmap(); }
    void SetPicture(const QPixmap& picture) { setPixmap(picture); }
};

// A green check mark of the given size, the picture designed windows show
// when a step succeeded.
QPixmap CheckMarkPicture(int size);

}  // namespace tk
