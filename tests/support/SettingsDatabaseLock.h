#pragma once
// Holds the settings database locked through a raw connection of its own
// (BEGIN EXCLUSIVE), as another program in the middle of a long write would:
// while it is held, no other connection can read or write.

#include <QFile>
#include <QString>

#include <sqlite3.h>

namespace k4812::test {

class SettingsDatabaseLock {
public:
    explicit SettingsDatabaseLock(const QString& path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
        m_held = sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
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
