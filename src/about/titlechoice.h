// Which drawing of the About box's title picture suits the place the dialog gives it, kept free
// of the platform so the host build can check it.
#pragma once

// The picture is drawn at 100, 150 and 200 percent (200 x 100 pixels at 100). The dialog's
// templates scale with its font, which does not always grow exactly with the DPI, so the choice
// goes by the place itself: the largest drawing that fits it, give or take 2 pixels, and the
// plain one when none does. A drawing is shown at its own size, never stretched.
int titlePicturePercent(int placeWidth, int placeHeight);
