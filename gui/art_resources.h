#pragma once

class QIcon;

namespace sps {

// Makes the embedded artwork (sprite sheet and icon) reachable under ":/art".
// Called by whatever loads it first; repeated calls do nothing.
void initArtResources();

// The window icon SPSICON, drawn at every size it is offered in.
QIcon applicationIcon();

} // namespace sps
