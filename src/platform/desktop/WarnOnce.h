#pragma once
// A warning that is logged once per process for a given key, for conditions
// that would otherwise repeat on every use (a desktop that lacks a setting).

#include <QString>

namespace k4812 {

// Logs `message` with qWarning the first time `key` is seen in this process.
// Returns true when it logged. Safe to call from any thread.
bool warnOnce(const QString& key, const QString& message);

} // namespace k4812
