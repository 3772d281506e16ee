// Test main: offscreen platform unless told otherwise, one application
// object for widget tests, and exceptions routed to the test output
// instead of modal boxes.
#include "toolkit/core/application.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tk::Application().OnException = [](const QString& message) {
        std::fprintf(stderr, "unhandled exception in test: %s\n", qPrintable(message));
    };
    return RUN_ALL_TESTS();
}
