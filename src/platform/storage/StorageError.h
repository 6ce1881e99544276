#pragma once
// The error of the file and registry layers.
//
// Their operations answer "done" or "not done" with a Boolean, as callers
// expect (a missing file or value is an ordinary "no"). A real failure of the
// underlying storage (a file that exists but cannot be read or written, a
// disk that is full, a registry value of the wrong type, a database that
// cannot be opened) is not an answer but an error: it is thrown as a
// StorageError carrying a message meant for the user.

#include <QString>

#include <stdexcept>

namespace k4812 {

class StorageError : public std::runtime_error {
public:
    explicit StorageError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace k4812
