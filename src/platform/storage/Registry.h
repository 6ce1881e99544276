#pragma once
// The registry stand-in: keys and typed values under HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE, kept in an SQLite database in the user's configuration
// folder ("registry.sqlite3" in ~/.config/k4812).
//
// As on Windows, key paths and value names compare without regard to case
// (full Unicode case folding) and keep the spelling they were created with;
// key paths use '\' between their parts; creating a key creates its parents.
// Values are binary or 32-bit integers.
//
// Every write is one transaction, so a crash never leaves half a value. The
// monitor program writes to the same database: a second writer waits for the
// first (up to busyTimeoutMs()) instead of failing. A file that is damaged or
// is not a database is moved aside with a message (notices()) and a new
// database is started; it is never overwritten.
//
// Real failures (the database cannot be created, stays locked, a disk error)
// are thrown as StorageError. The database is opened on first use.
//
// One Registry may be used from several threads, one after the other (the
// window's stores run on its storage thread, its reads on its own thread):
// the connection is opened serialized, but the object's own bookkeeping
// (an open WriteGroup, the busy wait) is not locked, so two threads never
// use it at the same time.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

struct sqlite3;

namespace k4812 {

// The two usable root keys, with the values Windows gives them.
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

class Registry {
public:
    enum class ValueType : int {
        Binary = 3, // REG_BINARY
        DWord = 4,  // REG_DWORD
    };
    struct Value {
        ValueType type = ValueType::Binary;
        QByteArray data;
    };

    static constexpr int kDefaultBusyTimeoutMs = 10000;

    // Makes the writes of its lifetime one transaction: all of them are kept
    // when commit() succeeds, none when it is destroyed uncommitted (an
    // exception on the way). Taking the database's write lock can throw,
    // as any write can. A group opened while one is open joins it.
    class WriteGroup {
    public:
        explicit WriteGroup(Registry& registry);
        ~WriteGroup();
        WriteGroup(const WriteGroup&) = delete;
        WriteGroup& operator=(const WriteGroup&) = delete;
        void commit();

    private:
        Registry& m_registry;
        bool m_outermost = false;
        bool m_done = false;
    };

    explicit Registry(QString databasePath = defaultDatabasePath());
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // <user configuration folder>/k4812/registry.sqlite3, as the environment
    // (XDG_CONFIG_HOME, HOME) says now.
    static QString defaultDatabasePath();
    static bool isSupportedRoot(std::uint32_t root);

    const QString& databasePath() const { return m_path; }

    // Whether the key exists (the root itself always does); with `create`,
    // creates it and its missing parents first. False for an unsupported root.
    bool openKey(std::uint32_t root, const QString& keyPath, bool create);

    // The value, or nothing when the key or the value does not exist.
    std::optional<Value> readValue(std::uint32_t root, const QString& keyPath, const QString& name);

    // Creates the key when needed and creates or replaces the value. An
    // unsupported root is a StorageError here: callers check it first.
    //
    // `alongside`, when given, runs inside the write's transaction once the
    // value is written and before it is committed: when it throws, the value
    // keeps its old state and the exception passes on. A file that must
    // change together with the value is written there.
    //
    // A value that already holds `data` with this type is left as it is: no
    // write transaction is taken (so no journal and no sync), and `alongside`
    // runs on its own.
    void writeValue(std::uint32_t root, const QString& keyPath, const QString& name, ValueType type,
                    QByteArrayView data, const std::function<void()>& alongside = {});
    void writeBinary(std::uint32_t root, const QString& keyPath, const QString& name, QByteArrayView data,
                     const std::function<void()>& alongside = {});
    void writeDWord(std::uint32_t root, const QString& keyPath, const QString& name, std::uint32_t value);

    // True when a value was removed.
    bool deleteValue(std::uint32_t root, const QString& keyPath, const QString& name);

    // The names of a key's values as they were first written, sorted without case.
    QStringList valueNames(std::uint32_t root, const QString& keyPath);

    // Messages about the database itself (for example a damaged file moved
    // aside), meant to be shown to the user once.
    const QStringList& notices() const { return m_notices; }

    int busyTimeoutMs() const { return m_busyTimeoutMs; }
    void setBusyTimeoutMs(int ms) { m_busyTimeoutMs = ms; }

    // Test seam: called each time a write or read finds the database locked
    // by another connection, before waiting.
    void setBusyObserver(std::function<void(int attempt)> observer) { m_busyObserver = std::move(observer); }

    // The key path as it is compared: parts joined by single '\', without a
    // leading or trailing one, case-folded.
    static QString foldedKeyPath(const QString& keyPath);

private:
    sqlite3* db();
    bool openDatabase(QString& problem);
    void closeDatabase();
    void moveDamagedFileAside(const QString& problem);
    static int onBusy(void* self, int attempt);
    // A write's own transaction, unless a WriteGroup holds one.
    class OwnTransaction;

    QString m_path;
    sqlite3* m_db = nullptr;
    int m_folderFd = -1;   // the database's folder, for a path too long for SQLite
    int m_busyTimeoutMs = kDefaultBusyTimeoutMs;
    int m_waitedMs = 0;
    std::function<void(int)> m_busyObserver;
    bool m_inGroup = false;
    QStringList m_notices;
};

} // namespace k4812
