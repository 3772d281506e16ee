#include "tests/support/file_dialog_answerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

namespace tk::test {

void AnswerNextFileDialog(const QString& path)
{
    auto* timer = new QTimer;
    auto* tries = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // as the OK button does
        }
        if (dialog || ++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            delete tries;
        }
    });
    timer->start();
}

}  // namespace tk::test
