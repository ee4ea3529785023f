// Which drawing of the About box's title picture suits a display, kept free of the platform so
// the host build can check it.
#pragma once

// The picture is drawn at 100, 150 and 200 percent. For a display of the given DPI (96 is 100%)
// this is the drawing nearest to its scaling; a tie goes to the smaller drawing, which never
// overflows the place the dialog gives it.
int titlePicturePercent(int dpi);
