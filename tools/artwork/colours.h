// The named colours the title picture and the icon share, so the two always match.
#pragma once

#include "raster.h"

namespace art {

const Colour kPaper{246, 239, 219};      // the parchment field
const Colour kPaperDeep{222, 206, 168};  // the margin and shadows on parchment
const Colour kPage{253, 250, 240};       // the white of a book's pages
const Colour kInk{24, 36, 78};           // deep blue ink: lettering, lines, the icon's tile
const Colour kGold{166, 124, 48};        // muted gold: rules, frame, a book's cover
const Colour kGoldLight{226, 196, 122};  // gold in the light

}  // namespace art
