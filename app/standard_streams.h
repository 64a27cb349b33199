// Standard input, output and error, made safe before anything else opens a descriptor.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that a caller left closed. Otherwise the
// next descriptor opened (the X connection, say) would take its number, and what the viewer
// prints would be written into it. Returns whether standard output was one of them.
bool keepStandardStreamsOpen();

// Flushes standard output; false, with errno set, when anything written to it was lost (a
// full disk, a closed pipe).
bool flushStandardOutput();
