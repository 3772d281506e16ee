#include "tests/support/temp_folder.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Many colours show that something was drawn, not a blank page.
int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

TEST(Gallery, WritesEveryPageAndNoneIsBlank)
{
    tk::test::TempFolder folder;
    QProcess gallery;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    gallery.setProcessEnvironment(environment);
    gallery.start(QStringLiteral(GALLERY_EXECUTABLE), {folder.Path()});
    ASSERT_TRUE(gallery.waitForFinished(60000));
    ASSERT_EQ(gallery.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(gallery.exitCode(), 0) << gallery.readAllStandardError().toStdString();
    for (const char* page : {"colors.png", "primitives.png", "text.png", "edges.png", "themes.png",
                             "themes-dark.png", "strips.png", "strips-dark.png", "hints.png"}) {
        const QImage image(folder.File(QString::fromLatin1(page)));
        ASSERT_FALSE(image.isNull()) << page;
        EXPECT_GT(DistinctColours(image), 8) << page;
    }
}

}  // namespace
