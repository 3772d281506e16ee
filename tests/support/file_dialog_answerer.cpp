#include "tests/support/file_dialog_answerer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace tk::test {

namespace {

// Polls for the dialog; answers once it has been open long enough to have
// settled (it loads its folder and applies its own initial selection
// asynchronously, which would overwrite an answer given too early).
struct DialogAnswer {
    QString path;
    QTimer timer;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceSeen;
    QPointer<QFileDialog> seen;
};

}  // namespace

void AnswerNextFileDialog(const QString& path)
{
    auto* answer = new DialogAnswer;
    answer->path = path;
    answer->sinceStart.start();
    answer->timer.setInterval(10);
    QObject::connect(&answer->timer, &QTimer::timeout, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog != answer->seen) {
            answer->seen = dialog;
            answer->sinceSeen.start();
        }
        if (dialog && answer->sinceSeen.elapsed() >= 100) {
            // Typed into the name box and confirmed, as a user does.
            if (auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                nameBox->setText(answer->path);
            else
                dialog->selectFile(answer->path);
            static_cast<QDialog*>(dialog)->accept();  // as the OK button does
        }
        const bool answered = answer->seen && !answer->seen->isVisible();
        if (answered || answer->sinceStart.elapsed() > 10000) {
            answer->timer.stop();
            QTimer::singleShot(0, [answer] { delete answer; });
        }
    });
    answer->timer.start();
}

}  // namespace tk::test
