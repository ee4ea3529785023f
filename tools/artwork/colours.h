// The named colours the title picture and the icon share, so the two always match.
#pragma once

#include "raster.h"

namespace art {

const Tcolour paper{246, 239, 219};      // the parchment field
const Tcolour paperDeep{222, 206, 168};  // the margin and shadows on parchment
const Tcolour pageWhite{253, 250, 240};  // the white of a book's pages
const Tcolour inkBlue{24, 36, 78};       // deep blue ink: lettering, lines, the icon's tile
const Tcolour mutedGold{166, 124, 48};   // muted gold: rules, frame, a book's cover
const Tcolour goldLight{226, 196, 122};  // gold in the light

}  // namespace art
