#pragma once
// Holds the settings database locked through a raw connection of its own, as
// another program in the middle of a long write would: Exclusive (BEGIN
// EXCLUSIVE) lets no other connection read or write; Write (BEGIN IMMEDIATE)
// still lets others read.

#include <QFile>
#include <QString>

#include <sqlite3.h>

namespace k4812::test {

class SettingsDatabaseLock {
public:
    enum class Mode { Exclusive, Write };

    explicit SettingsDatabaseLock(const QString& path, Mode mode = Mode::Exclusive)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
        const char* begin = mode == Mode::Exclusive ? "BEGIN EXCLUSIVE" : "BEGIN IMMEDIATE";
        m_held = sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~SettingsDatabaseLock()
    {
        release();
        sqlite3_close(m_db);
    }
    SettingsDatabaseLock(const SettingsDatabaseLock&) = delete;
    SettingsDatabaseLock& operator=(const SettingsDatabaseLock&) = delete;

    bool held() const { return m_held; }
    void release()
    {
        if (m_held)
            sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        m_held = false;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

} // namespace k4812::test
