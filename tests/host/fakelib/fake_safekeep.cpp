// A stand-in for libsafekeep.so with the same entry, for testing the host's
// side of the call: it records what it was handed, switches Database1 off
// and on as a restore does, and shows a modal window with the start page's
// two buttons leading to two more pages.
#include "tests/host/fakelib/fake_safekeep.h"

#include "safekeep/langman/languagemanager.h"
#include "toolkit/data/database.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

extern "C" {

__attribute__((visibility("default"))) TFakeBackupCall FakeLastCall;

__attribute__((visibility("default"))) int CopiaSeguridad(int Restricted,
                                                          safekeep::TLanguageManager* languageManager,
                                                          tk::TDatabase* Database1, tk::TDatabase* Database2)
{
    FakeLastCall.calls++;
    FakeLastCall.restricted = Restricted;
    FakeLastCall.languageManager = languageManager;
    FakeLastCall.database1 = Database1;
    FakeLastCall.database2 = Database2;
    if (Database1) {
        Database1->SetActive(false);
        Database1->SetActive(true);
    }

    QDialog window;
    window.setObjectName(QStringLiteral("frmCopiaSeguridad"));
    window.setWindowTitle(languageManager ? languageManager->LangText(QStringLiteral("FakeCaption"),
                                                                      QStringLiteral("Brivora BackUp"))
                                          : QStringLiteral("Brivora BackUp"));
    window.setFixedSize(657, 481);
    auto* pages = new QStackedWidget(&window);
    pages->setGeometry(0, 0, 657, 407);
    auto* start = new QWidget;
    auto* btn1 = new QPushButton(QStringLiteral("CREAR COPIA DE SEGURIDAD"), start);
    btn1->setObjectName(QStringLiteral("btn1"));
    btn1->setGeometry(40, 30, 270, 80);
    auto* btn2 = new QPushButton(QStringLiteral("RECUPERAR COPIA DE SEGURIDAD"), start);
    btn2->setObjectName(QStringLiteral("btn2"));
    btn2->setGeometry(347, 30, 270, 80);
    pages->addWidget(start);
    pages->addWidget(new QLabel(QStringLiteral("Realizar una copia de seguridad")));
    pages->addWidget(new QLabel(QStringLiteral("Recuperar una copia de seguridad")));
    QObject::connect(btn1, &QPushButton::clicked, pages, [pages] { pages->setCurrentIndex(1); });
    QObject::connect(btn2, &QPushButton::clicked, pages, [pages] { pages->setCurrentIndex(2); });
    QObject::connect(pages, &QStackedWidget::currentChanged, pages,
                     [](int index) { FakeLastCall.pagesShown.push_back(index); });
    return window.exec() == QDialog::Accepted ? 1 : 0;
}

}  // extern "C"
