#pragma once

namespace common {

// Sizes of the current printer's paper, in twips (1/1440 inch). The offsets are where the
// printable area starts on the paper.
struct PageGeometry {
    int pageWidth = 12240;
    int pageHeight = 15840;
    int offsetLeft = 360;
    int offsetTop = 360;
    int printableWidth = 12240 - 720;
    int printableHeight = 15840 - 720;
};

} // namespace common
