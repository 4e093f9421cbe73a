#pragma once

namespace sps {

// Puts /dev/null on each of the descriptors 0, 1 and 2 that is closed, so
// that no file spsrun opens later becomes one of them (a report opened as
// descriptor 1 would receive what is meant for standard output). Returns
// whether standard output was closed: then nothing written to it arrives.
bool fillClosedStandardDescriptors();

} // namespace sps
