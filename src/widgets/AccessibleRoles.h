#pragma once

// Tells assistive technology what the program's own widgets are, where Qt would guess wrong: the
// detail pane's red captions are links that Enter follows, the separate viewer is a window and
// the quick-capture dialogs are dialogs (Qt exposes a plain top-level widget as a filler).
namespace AccessibleRoles {

// Once per program, before the first window; later calls do nothing.
void install();

} // namespace AccessibleRoles
