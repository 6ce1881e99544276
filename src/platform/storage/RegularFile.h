#pragma once
// Reading a file that is read whole, safely whatever the path names: it is
// opened without blocking (a FIFO with no writer, or a device, would wait
// forever), anything but a regular file is refused, and no more than a
// limit suited to the file's format is read (a link to /dev/zero, or a huge
// file, would fill the memory).

#include <QByteArray>
#include <QString>

namespace k4812 {

struct RegularFileRead {
    enum class Status {
        Read,        // bytes hold the file's first bytes, at most maxBytes + 1 of them
        Missing,     // no such file
        NotRegular,  // a folder, FIFO, socket or device
        Failed,      // could not be opened or read
    };
    Status status = Status::Failed;
    QByteArray bytes;
    qint64 size = 0;      // the file's size when it was opened
    QString error;        // why it was not read: a sentence part naming the path
    QString reason;       // the same without the path

    bool read() const { return status == Status::Read; }
    // Read, and longer than `maxBytes` (bytes then hold maxBytes + 1).
    bool longerThan(qint64 maxBytes) const { return read() && bytes.size() > maxBytes; }
};

// Reads up to maxBytes + 1 bytes of `path` (one more than the limit, so that
// a file longer than the limit is noticed even when it grows while read).
RegularFileRead readRegularFile(const QString& path, qint64 maxBytes);

// The kind of a non-regular file for messages: "a folder", "a FIFO", "a
// device", "a socket".
QString fileKindText(unsigned mode);

} // namespace k4812
