#pragma once
// The private folder for this user's sockets and lock files:
// $XDG_RUNTIME_DIR/k4812 or, where XDG_RUNTIME_DIR is not set or not a folder,
// <temp>/k4812-<uid> (temp honours TMPDIR).
//
// The folder is created with mode 0700. An existing one must be a real folder
// (not a link) owned by this user; its mode is then set to 0700. Anything
// else (a folder another user planted in /tmp) is refused, so no other user
// can reach the sockets or take the lock.

#include <QString>

namespace k4812 {

// The folder's path, created and checked; an empty string with `error` set
// when it cannot be had.
QString runtimeFolder(QString* error = nullptr);

} // namespace k4812
