// Stand-in host: the program that ships our components in its folder. For
// now it opens its main window; with the offscreen platform (no display) it
// renders the window to a PNG and exits, so the main job runs anywhere.

#include "safekeep/langman/languagemanager.h"
#include "toolkit/core/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace {

QWidget* CreateMainWindow()
{
    auto* window = new QMainWindow;
    window->setObjectName(QStringLiteral("frmHost"));
    window->setWindowTitle(QStringLiteral("Host"));
    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);
    auto* label = new QLabel(QStringLiteral("Stand-in host: data management program"), central);
    label->setObjectName(QStringLiteral("lblTitle"));
    layout->addWidget(label);
    window->setCentralWidget(central);
    window->resize(480, 320);
    return window;
}

}  // namespace

int main(int argc, char** argv)
{
    // Without a display there is no window to open: render to a file instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Host"));
    // The program owns the one language manager; the libraries it loads use
    // this instance and never create their own.
    safekeep::CreateLanguageManager();
    struct FreeManagerAtExit {
        ~FreeManagerAtExit() { safekeep::FreeLanguageManager(); }
    } freeManager;

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Render the main window to <file> and exit."),
                                  QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(app);

    QWidget* window = CreateMainWindow();
    QString png = parser.value(screenshot);
    if (png.isEmpty() && QGuiApplication::platformName() == QLatin1String("offscreen"))
        png = QStringLiteral("host.png");
    if (!png.isEmpty()) {
        window->show();
        QApplication::processEvents();
        const bool saved = window->grab().save(png);
        std::printf("%s %s\n", saved ? "rendered main window to" : "could not write", qPrintable(png));
        delete window;
        return saved ? 0 : 1;
    }
    window->show();
    const int result = QApplication::exec();
    delete window;
    return result;
}
