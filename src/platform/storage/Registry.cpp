#include "platform/storage/Registry.h"

#include "platform/storage/AtomicFile.h"
#include "platform/storage/ProgramFolder.h"
#include "platform/storage/StorageError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtGlobal>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <array>

namespace k4812 {

namespace {

// SQLite's file layer takes paths of at most 512 bytes (it makes every
// path absolute and resolves its links first), so a home folder of some 500
// characters could not hold the database. A long path is opened through the
// folder's descriptor instead, as "/proc/self/fd/N/NAME", with a file layer
// that keeps such a name as it is: the kernel resolves it, SQLite's buffers
// see only the short name, and its locks go by the file's identity, so other
// programs that open the same file by its long name share them.
constexpr qsizetype kLongestSqlitePath = 500;
constexpr const char* kFolderFdVfsName = "k4812-unix-folder-fd";
constexpr char kFolderFdPrefix[] = "/proc/self/fd/";

sqlite3_vfs* g_baseVfs = nullptr;

int keepFolderFdName(sqlite3_vfs* vfs, const char* path, int size, char* out)
{
    if (std::strncmp(path, kFolderFdPrefix, sizeof kFolderFdPrefix - 1) == 0) {
        if (int(std::strlen(path)) + 1 > size)
            return SQLITE_CANTOPEN;
        std::strcpy(out, path);
        return SQLITE_OK;
    }
    return g_baseVfs->xFullPathname(vfs, path, size, out);
}

const char* folderFdVfs()
{
    static const char* name = []() -> const char* {
        g_baseVfs = sqlite3_vfs_find(nullptr);
        if (g_baseVfs == nullptr)
            return nullptr;
        static sqlite3_vfs copy = *g_baseVfs;
        copy.zName = kFolderFdVfsName;
        copy.pNext = nullptr;
        copy.xFullPathname = &keepFolderFdName;
        return sqlite3_vfs_register(&copy, 0) == SQLITE_OK ? kFolderFdVfsName : nullptr;
    }();
    return name;
}

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS registry_keys (
    root INTEGER NOT NULL,
    folded_path TEXT NOT NULL,
    path TEXT NOT NULL,
    PRIMARY KEY (root, folded_path)
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS registry_values (
    root INTEGER NOT NULL,
    folded_path TEXT NOT NULL,
    folded_name TEXT NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (root, folded_path, folded_name)
) WITHOUT ROWID;
)sql";

bool isDamageCode(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

QString sqliteMessage(sqlite3* db, int rc)
{
    if (db != nullptr && sqlite3_errcode(db) == rc)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

[[noreturn]] void throwSqlite(sqlite3* db, int rc, const QString& path, const QString& what)
{
    if ((rc & 0xFF) == SQLITE_BUSY) {
        throw StorageError(QStringLiteral("The settings database \"%1\" stayed locked by another program; %2 was "
                                          "not done.")
                               .arg(path, what));
    }
    throw StorageError(
        QStringLiteral("The settings database \"%1\" failed while %2: %3").arg(path, what, sqliteMessage(db, rc)));
}

// One prepared statement; every failure becomes a StorageError.
class Statement {
public:
    Statement(sqlite3* db, const char* sql, const QString& path, const QString& what)
        : m_db(db), m_path(path), m_what(what)
    {
        const int rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
        if (rc != SQLITE_OK)
            throwSqlite(db, rc, path, what);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, std::int64_t value) { check(sqlite3_bind_int64(m_stmt, index, value)); }
    void bind(int index, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        check(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    }
    // Not copied: the bytes must outlive the statement, as a value passed to
    // the call that makes and runs the statement does. A profile's record is
    // 110 KB, which SQLite would otherwise copy for the check and the write.
    void bindBlob(int index, QByteArrayView bytes)
    {
        // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
        static const char kEmpty = 0;
        const char* data = bytes.isEmpty() ? &kEmpty : bytes.data();
        check(sqlite3_bind_blob64(m_stmt, index, data, sqlite3_uint64(bytes.size()), SQLITE_STATIC));
    }

    // True while a row is available.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throwSqlite(m_db, rc, m_path, m_what);
    }

    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

    std::int64_t intColumn(int index) const { return sqlite3_column_int64(m_stmt, index); }
    QString textColumn(int index) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index));
    }
    QByteArray blobColumn(int index) const
    {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, index));
        return QByteArray(data, sqlite3_column_bytes(m_stmt, index));
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throwSqlite(m_db, rc, m_path, m_what);
    }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_path;
    QString m_what;
};

void execute(sqlite3* db, const char* sql, const QString& path, const QString& what)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwSqlite(db, rc, path, what);
}

// A write transaction taken at once (BEGIN IMMEDIATE), so two writers never
// deadlock on upgrading their locks; rolled back unless committed.
class WriteTransaction {
public:
    WriteTransaction(sqlite3* db, const QString& path, const QString& what) : m_db(db), m_path(path), m_what(what)
    {
        execute(db, "BEGIN IMMEDIATE", path, what);
    }
    ~WriteTransaction()
    {
        if (!m_committed)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit()
    {
        execute(m_db, "COMMIT", m_path, m_what);
        m_committed = true;
    }

private:
    sqlite3* m_db;
    QString m_path;
    QString m_what;
    bool m_committed = false;
};

QStringList keyParts(const QString& keyPath)
{
    return keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// Inserts the key and each of its parents that is missing, keeping the
// spelling of those that exist.
void insertKeyChain(sqlite3* db, std::uint32_t root, const QString& keyPath, const QString& path)
{
    const QStringList parts = keyParts(keyPath);
    Statement insert(db, "INSERT OR IGNORE INTO registry_keys (root, folded_path, path) VALUES (?1, ?2, ?3)", path,
                     QStringLiteral("creating a key"));
    QString prefix;
    for (const QString& part : parts) {
        if (!prefix.isEmpty())
            prefix += QLatin1Char('\\');
        prefix += part;
        insert.bind(1, std::int64_t(root));
        insert.bind(2, prefix.toCaseFolded());
        insert.bind(3, prefix);
        insert.step();
        insert.reset();
    }
}

} // namespace

Registry::Registry(QString databasePath) : m_path(std::move(databasePath)) {}

class Registry::OwnTransaction {
public:
    OwnTransaction(Registry& registry, sqlite3* db, const QString& what)
    {
        if (!registry.m_inGroup)
            m_transaction.emplace(db, registry.m_path, what);
    }
    void commit()
    {
        if (m_transaction)
            m_transaction->commit();
    }

private:
    std::optional<WriteTransaction> m_transaction;
};

Registry::WriteGroup::WriteGroup(Registry& registry) : m_registry(registry)
{
    if (registry.m_inGroup)
        return;
    execute(registry.db(), "BEGIN IMMEDIATE", registry.m_path, QStringLiteral("starting a group of writes"));
    registry.m_inGroup = true;
    m_outermost = true;
}

Registry::WriteGroup::~WriteGroup()
{
    if (m_outermost && !m_done) {
        sqlite3_exec(m_registry.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_registry.m_inGroup = false;
    }
}

void Registry::WriteGroup::commit()
{
    if (!m_outermost || m_done)
        return;
    execute(m_registry.m_db, "COMMIT", m_registry.m_path, QStringLiteral("ending a group of writes"));
    m_done = true;
    m_registry.m_inGroup = false;
}

Registry::~Registry()
{
    closeDatabase();
}

QString Registry::defaultDatabasePath()
{
    // AppConfigLocation for an application named kApplicationName, without
    // depending on whether the caller has set the application name yet.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QLatin1Char('/') + QLatin1String(kApplicationName) + QLatin1String("/registry.sqlite3");
}

bool Registry::isSupportedRoot(std::uint32_t root)
{
    return root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE;
}

QString Registry::foldedKeyPath(const QString& keyPath)
{
    return keyParts(keyPath).join(QLatin1Char('\\')).toCaseFolded();
}

int Registry::onBusy(void* self, int attempt)
{
    auto* registry = static_cast<Registry*>(self);
    if (attempt == 0)
        registry->m_waitedMs = 0;
    if (registry->m_waitedMs >= registry->m_busyTimeoutMs)
        return 0;
    if (registry->m_busyObserver)
        registry->m_busyObserver(attempt);
    static constexpr std::array kSteps{1, 2, 5, 10, 20, 50, 100};
    const int step = kSteps[std::min<std::size_t>(std::size_t(attempt), kSteps.size() - 1)];
    const int wait = std::min(step, registry->m_busyTimeoutMs - registry->m_waitedMs);
    sqlite3_sleep(wait);
    registry->m_waitedMs += wait;
    return 1;
}

void Registry::closeDatabase()
{
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    if (m_folderFd >= 0) {
        ::close(m_folderFd);
        m_folderFd = -1;
    }
}

bool Registry::openDatabase(QString& problem)
{
    const QString opening = QStringLiteral("opening it");
    QByteArray name = QFile::encodeName(m_path);
    const char* vfs = nullptr;
    if (name.size() > kLongestSqlitePath) {
        const QFileInfo file(m_path);
        m_folderFd = ::open(QFile::encodeName(file.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        vfs = folderFdVfs();
        if (m_folderFd < 0 || vfs == nullptr) {
            const QString why = m_folderFd < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                                               : QStringLiteral("its long path cannot be handed to SQLite");
            closeDatabase();
            throw StorageError(QStringLiteral("The settings database \"%1\" cannot be opened: %2").arg(m_path, why));
        }
        name = QByteArray(kFolderFdPrefix) + QByteArray::number(m_folderFd) + '/' + QFile::encodeName(file.fileName());
    }
    // Serialized: the window's stores use the connection on its storage
    // thread, and everything else on the window's thread.
    const int openRc = sqlite3_open_v2(name.constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, vfs);
    if (openRc != SQLITE_OK) {
        if (isDamageCode(openRc)) {
            problem = sqliteMessage(m_db, openRc);
            return false;
        }
        const QString message = sqliteMessage(m_db, openRc);
        closeDatabase();
        throw StorageError(QStringLiteral("The settings database \"%1\" cannot be opened: %2").arg(m_path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &Registry::onBusy, this);

    // A file that is not a database, or a damaged one, shows here: SQLite
    // reads the file lazily.
    sqlite3_stmt* check = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr);
    QString verdict;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(check);
        if (rc == SQLITE_ROW) {
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
            rc = SQLITE_OK;
        }
    }
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        problem = sqliteMessage(m_db, rc);
    sqlite3_finalize(check);
    if (isDamageCode(rc))
        return false;
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        closeDatabase();
        throw StorageError(QStringLiteral("The settings database \"%1\" cannot be read: %2").arg(m_path, problem));
    }
    if (verdict != QLatin1String("ok")) {
        // The check lists every damaged page under a heading; the first finding says enough.
        const QStringList findings = verdict.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                         .filter(QRegularExpression(QStringLiteral("^(?!\\*\\*\\*)")));
        problem = findings.isEmpty() ? verdict : findings.first();
        return false;
    }

    rc = sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr);
    if (isDamageCode(rc)) {
        problem = sqliteMessage(m_db, rc);
        return false;
    }
    if (rc != SQLITE_OK) {
        const QString message = sqliteMessage(m_db, rc);
        closeDatabase();
        throw StorageError(QStringLiteral("The settings database \"%1\" cannot be prepared: %2").arg(m_path, message));
    }
    return true;
}

void Registry::moveDamagedFileAside(const QString& problem)
{
    const QString target = moveFileAside(m_path);
    if (target.isEmpty()) {
        throw StorageError(QStringLiteral("The settings database \"%1\" is damaged (%2) and could not be moved "
                                          "aside; it was left as it is.")
                               .arg(m_path, problem));
    }
    // A rollback journal belongs to the file it was written for.
    const QString journal = m_path + QLatin1String("-journal");
    if (QFileInfo::exists(journal))
        QFile::rename(journal, target + QLatin1String("-journal"));
    const QString notice = QStringLiteral("The settings database \"%1\" could not be read (%2). It was moved to "
                                          "\"%3\" and a new one was started.")
                               .arg(m_path, problem, target);
    // The owner shows or prints the notices once; nothing is printed here.
    m_notices.append(notice);
}

sqlite3* Registry::db()
{
    if (m_db != nullptr)
        return m_db;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw StorageError(
            QStringLiteral("The folder \"%1\" for the settings database cannot be created.").arg(folder));
    QString problem;
    if (!openDatabase(problem)) {
        closeDatabase();
        moveDamagedFileAside(problem);
        if (!openDatabase(problem)) {
            closeDatabase();
            throw StorageError(
                QStringLiteral("A new settings database \"%1\" cannot be started: %2").arg(m_path, problem));
        }
    }
    return m_db;
}

bool Registry::openKey(std::uint32_t root, const QString& keyPath, bool create)
{
    if (!isSupportedRoot(root))
        return false;
    const QString folded = foldedKeyPath(keyPath);
    if (folded.isEmpty())
        return true;
    sqlite3* connection = db();
    const QString what = create ? QStringLiteral("creating a key") : QStringLiteral("opening a key");
    {
        // A key that exists needs no write transaction to be opened with `create`.
        Statement query(connection, "SELECT 1 FROM registry_keys WHERE root = ?1 AND folded_path = ?2", m_path, what);
        query.bind(1, std::int64_t(root));
        query.bind(2, folded);
        if (query.step())
            return true;
    }
    if (!create)
        return false;
    OwnTransaction transaction(*this, connection, what);
    insertKeyChain(connection, root, keyPath, m_path);
    transaction.commit();
    return true;
}

std::optional<Registry::Value> Registry::readValue(std::uint32_t root, const QString& keyPath, const QString& name)
{
    if (!isSupportedRoot(root))
        return std::nullopt;
    Statement query(db(),
                    "SELECT type, data FROM registry_values WHERE root = ?1 AND folded_path = ?2 AND folded_name = ?3",
                    m_path, QStringLiteral("reading a value"));
    query.bind(1, std::int64_t(root));
    query.bind(2, foldedKeyPath(keyPath));
    query.bind(3, name.toCaseFolded());
    if (!query.step())
        return std::nullopt;
    return Value{ValueType(query.intColumn(0)), query.blobColumn(1)};
}

void Registry::writeValue(std::uint32_t root, const QString& keyPath, const QString& name, ValueType type,
                          QByteArrayView data, const std::function<void()>& alongside)
{
    if (!isSupportedRoot(root))
        throw StorageError(
            QStringLiteral("Registry root key 0x%1 is not supported.").arg(root, 8, 16, QLatin1Char('0')));
    const QString what = QStringLiteral("writing the value \"%1\"").arg(name);
    sqlite3* connection = db();
    // A value that holds these bytes already is not written again: no
    // transaction, no journal, no sync. A lock held by another program stops
    // this read only while that program commits, and then says the same.
    {
        Statement query(connection,
                        "SELECT 1 FROM registry_values WHERE root = ?1 AND folded_path = ?2 AND folded_name = ?3 "
                        "AND type = ?4 AND data = ?5",
                        m_path, what);
        query.bind(1, std::int64_t(root));
        query.bind(2, foldedKeyPath(keyPath));
        query.bind(3, name.toCaseFolded());
        query.bind(4, std::int64_t(type));
        query.bindBlob(5, data);
        if (query.step()) {
            if (alongside)
                alongside();
            return;
        }
    }
    OwnTransaction transaction(*this, connection, what);
    insertKeyChain(connection, root, keyPath, m_path);
    Statement upsert(connection,
                     "INSERT INTO registry_values (root, folded_path, folded_name, name, type, data) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6) "
                     "ON CONFLICT (root, folded_path, folded_name) DO UPDATE SET type = excluded.type, "
                     "data = excluded.data",
                     m_path, what);
    upsert.bind(1, std::int64_t(root));
    upsert.bind(2, foldedKeyPath(keyPath));
    upsert.bind(3, name.toCaseFolded());
    upsert.bind(4, name);
    upsert.bind(5, std::int64_t(type));
    upsert.bindBlob(6, data);
    upsert.step();
    if (alongside)
        alongside();
    transaction.commit();
}

void Registry::writeBinary(std::uint32_t root, const QString& keyPath, const QString& name, QByteArrayView data,
                           const std::function<void()>& alongside)
{
    writeValue(root, keyPath, name, ValueType::Binary, data, alongside);
}

void Registry::writeDWord(std::uint32_t root, const QString& keyPath, const QString& name, std::uint32_t value)
{
    const std::array<char, 4> bytes{char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                                    char((value >> 24) & 0xFF)};
    writeValue(root, keyPath, name, ValueType::DWord, QByteArrayView(bytes.data(), 4));
}

bool Registry::deleteValue(std::uint32_t root, const QString& keyPath, const QString& name)
{
    if (!isSupportedRoot(root))
        return false;
    sqlite3* connection = db();
    const QString what = QStringLiteral("deleting the value \"%1\"").arg(name);
    OwnTransaction transaction(*this, connection, what);
    Statement remove(connection,
                     "DELETE FROM registry_values WHERE root = ?1 AND folded_path = ?2 AND folded_name = ?3", m_path,
                     what);
    remove.bind(1, std::int64_t(root));
    remove.bind(2, foldedKeyPath(keyPath));
    remove.bind(3, name.toCaseFolded());
    remove.step();
    const bool removed = sqlite3_changes(connection) > 0;
    transaction.commit();
    return removed;
}

QStringList Registry::valueNames(std::uint32_t root, const QString& keyPath)
{
    QStringList names;
    if (!isSupportedRoot(root))
        return names;
    Statement query(db(), "SELECT name FROM registry_values WHERE root = ?1 AND folded_path = ?2 ORDER BY folded_name",
                    m_path, QStringLiteral("listing values"));
    query.bind(1, std::int64_t(root));
    query.bind(2, foldedKeyPath(keyPath));
    while (query.step())
        names.append(query.textColumn(0));
    return names;
}

} // namespace k4812
