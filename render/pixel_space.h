// Drawing in window pixels over the frame, for the readout and the font it is made from.
#pragma once

// Window pixels from the lower left corner; no depth test or texture coordinate generation;
// filled. Lighting, colour tracking and culling are left as they are. The matrices are pushed,
// and endOverlay pops them.
void beginOverlay(int width, int height);
void endOverlay();
