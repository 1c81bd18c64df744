// The thirteen sprite files, built into the program: the pictures of a run need no files of
// their own at run time, and are made from the same images the window draws.
#pragma once

#include <cstddef>

#include "sim/board_geometry.h"

namespace vornick {

struct EmbeddedFile {
    const unsigned char* data;
    std::size_t size;
};

// Sprite i is the PNG file named 128 + i in resources/sprites.
extern const EmbeddedFile kSpriteFiles[kSpriteCount];

}  // namespace vornick
