#pragma once
// The images of the dialogs the window opens (messages, help, key capture,
// the macro manager), read ahead on a thread of the image store's once the
// window is up. A dialog otherwise reads its images from disk on the
// window's thread when it first opens, and while other programs keep the
// disk busy a read of a file that is no longer in memory takes tens of
// milliseconds there.

namespace k4812 {

void prefetchDialogSkins();

} // namespace k4812
