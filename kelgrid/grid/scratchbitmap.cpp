#include "kelgrid/grid/scratchbitmap.h"

#include <QtGlobal>
#include <algorithm>

namespace kelgrid {

namespace {

struct TScratch {
    int users = 0;
    QImage image;
};

TScratch& Scratch()
{
    static TScratch scratch;
    return scratch;
}

}  // namespace

TScratchBitmapUser::TScratchBitmapUser()
{
    ++Scratch().users;
}

TScratchBitmapUser::~TScratchBitmapUser()
{
    TScratch& scratch = Scratch();
    Q_ASSERT(scratch.users > 0);
    if (--scratch.users == 0)
        scratch.image = QImage();
}

int TScratchBitmapUser::Users()
{
    return Scratch().users;
}

QImage& TScratchBitmapUser::Image(const QSize& atLeast)
{
    TScratch& scratch = Scratch();
    Q_ASSERT(scratch.users > 0);
    const int width = std::max(scratch.image.width(), atLeast.width());
    const int height = std::max(scratch.image.height(), atLeast.height());
    if (width > scratch.image.width() || height > scratch.image.height()) {
        scratch.image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        scratch.image.fill(Qt::transparent);
    }
    return scratch.image;
}

}  // namespace kelgrid
