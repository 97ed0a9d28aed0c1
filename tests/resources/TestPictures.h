#pragma once

#include "PictureList.h"

// The pictures, decoded once for all tests of this program.
inline const PictureList& testPictures()
{
    static const PictureList pictures;
    return pictures;
}
