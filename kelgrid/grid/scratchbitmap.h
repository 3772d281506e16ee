#pragma once
// The scratch image all grids share for off-screen composition:
// made on first use while a grid holds a TScratchBitmapUser, freed when
// the last user goes. A grid keeps one TScratchBitmapUser member for its
// lifetime. GUI thread only.

#include <QImage>
#include <QSize>

namespace kelgrid {

class TScratchBitmapUser {
public:
    TScratchBitmapUser();
    ~TScratchBitmapUser();
    TScratchBitmapUser(const TScratchBitmapUser&) = delete;
    TScratchBitmapUser& operator=(const TScratchBitmapUser&) = delete;

    // The users alive now.
    static int Users();
    // The shared image (ARGB32 premultiplied), grown so that it is at least
    // atLeast in each direction; it never shrinks while it has users. Its
    // pixels are whatever the last painter left (a grown image starts
    // transparent): clear the part you use. Painters must have ended on it
    // before it is asked for again. Asking without a user is a programming
    // error (the image would then live until the next last user goes).
    static QImage& Image(const QSize& atLeast);
};

}  // namespace kelgrid
