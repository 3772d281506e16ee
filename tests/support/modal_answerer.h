#pragma once
// Answers the modal boxes a test provokes, as a user would: while it lives,
// every message box that opens is recorded (caption, text, icon) and closed
// with its OK button. Boxes open inside event loops, so the answering runs
// from a timer.

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
};

class ModalAnswerer {
public:
    ModalAnswerer();
    ~ModalAnswerer();
    const QList<TAnsweredBox>& Boxes() const { return boxes_; }
    // Called for each box while it is still open, so a test can look at
    // the state the program showed it in.
    std::function<void(const TAnsweredBox&)> OnBox;

private:
    void AnswerOpenBoxes();

    QTimer timer_;
    QList<TAnsweredBox> boxes_;
};

}  // namespace tk::test
