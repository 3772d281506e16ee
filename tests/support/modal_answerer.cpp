#include "tests/support/modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace tk::test {

ModalAnswerer::ModalAnswerer()
{
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBoxes(); });
    timer_.start();
}

ModalAnswerer::~ModalAnswerer()
{
    timer_.stop();
}

void ModalAnswerer::AnswerOpenBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible() || box->property("answered").toBool())
            continue;
        box->setProperty("answered", true);
        boxes_.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        if (OnBox)
            OnBox(boxes_.last());
        if (QAbstractButton* answer = box->button(Answer))
            answer->click();
        else
            box->reject();
    }
}

}  // namespace tk::test
