#pragma once
// The reasons the monitor gives (why it does not follow the focus, why it
// shows no tray, why a switch was not made) are made in English where they
// arise, some with values in them (a process, a path, an error text). The
// tray and the notifications show them in the interface language: a reason
// is translated by the text it was made from, with its values kept.

#include <QString>
#include <QStringList>

namespace k4812 {

// "Mode not switched: %1" (%1 a reason), the tray's word when a switch the
// user chose could not be made.
inline constexpr const char* kTextNotSwitched = "Mode not switched: %1";

// `reason` in the active translation; as it is when it was made from no
// known text.
QString translateReason(const QString& reason);

// Every text a reason is made from, "%1" and "%2" standing for its values.
const QStringList& reasonTexts();

} // namespace k4812
