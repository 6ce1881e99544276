#pragma once
// Points HOME and the XDG folders at a fresh temporary folder for one test,
// so that no test reads or writes the user's own files.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>

namespace k4812::test {

class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    // The temporary folder that stands for the user's home.
    QString home() const { return m_dir.path(); }
    // A path below home().
    QString path(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

    // Sets an environment variable for the life of this object.
    void set(const char* name, const QString& value);

private:
    void remember(const char* name);

    QTemporaryDir m_dir;
    std::map<QByteArray, std::pair<bool, QByteArray>> m_saved;
};

// Reads a whole file; an empty array when it cannot be read.
QByteArray readFile(const QString& path);
// Writes a whole file, creating its folder; false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace k4812::test
