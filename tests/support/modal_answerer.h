#pragma once
// Answers the modal boxes a test provokes, as a user would: while it lives,
// every message box that opens is recorded (caption, text, icon) and closed
// with its OK button. Boxes open inside event loops, so the answering runs
// from a timer.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTimer>

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

private:
    void AnswerOpenBoxes();

    QTimer timer_;
    QList<TAnsweredBox> boxes_;
};

}  // namespace tk::test
