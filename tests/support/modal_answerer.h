#pragma once
// Answers the modal boxes a test provokes, as a user would: while it lives,
// every message box that opens is recorded (caption, text, icon, buttons)
// and closed with the Answer button (OK unless the test chooses another);
// a box without that button is rejected. Boxes open inside event loops, so
// the answering runs from a timer.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>

namespace tk::test {

struct TAnsweredBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

class ModalAnswerer {
public:
    ModalAnswerer();
    ~ModalAnswerer();
    const QList<TAnsweredBox>& Boxes() const { return boxes_; }
    // Called for each box while it is still open, so a test can look at
    // the state the program showed it in.
    std::function<void(const TAnsweredBox&)> OnBox;
    // The button pressed on the boxes that open from now on.
    QMessageBox::StandardButton Answer = QMessageBox::Ok;

private:
    void AnswerOpenBoxes();

    QTimer timer_;
    QList<TAnsweredBox> boxes_;
};

}  // namespace tk::test
