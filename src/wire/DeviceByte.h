#pragma once
// Numbers placed into the bytes sent to the mouse.
//
// The device format has many one-byte fields fed from wider record fields.
// A value that a byte cannot hold is clamped to 0 or 255 and never wrapped:
// a wrapped byte would be some other, unrelated setting. The encoders never
// fail; when the caller passes an EncodingNotes list they append one short
// English line per value they had to change, so a tool can warn about it.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace k4812 {

using EncodingNotes = QStringList;

inline void addEncodingNote(EncodingNotes* notes, const QString& text)
{
    if (notes != nullptr)
        notes->append(text);
}

// `what` names the field in the note, e.g. "CurrentCPIIndex".
inline std::uint8_t clampToByte(long long value, const char* what, EncodingNotes* notes)
{
    if (value >= 0 && value <= 255)
        return std::uint8_t(value);
    const std::uint8_t clamped = value < 0 ? 0 : 255;
    addEncodingNote(notes, QStringLiteral("%1 = %2 does not fit a byte; sent as %3")
                               .arg(QLatin1String(what))
                               .arg(value)
                               .arg(clamped));
    return clamped;
}

} // namespace k4812
