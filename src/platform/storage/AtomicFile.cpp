#include "platform/storage/AtomicFile.h"

#include "platform/storage/StorageError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

namespace {

AtomicWriteProbe& probe()
{
    static AtomicWriteProbe instance;
    return instance;
}

int probeAt(AtomicWriteStage stage, const QString& temporaryPath)
{
    return probe() ? probe()(stage, temporaryPath) : 0;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString& path, const QString& what, int error)
{
    throw StorageError(QStringLiteral("The file \"%1\" could not be saved (%2: %3); the previous file, if any, is "
                                      "unchanged.")
                           .arg(path, what, errnoText(error)));
}

// The folder part of a path, taken as it is written.
QString folderOfPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

// Creates a new, unique temporary file beside `target`; the umask applies to
// its mode as to any new file.
int createTemporary(const QString& target, QString& temporaryPath)
{
    const QString prefix = temporaryNamePrefix(target.mid(target.lastIndexOf(QLatin1Char('/')) + 1));
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = folderOfPath(target) + QLatin1Char('/') + prefix
            + QString::number(QRandomGenerator::global()->generate(), 36) + QLatin1String(".tmp");
        const int fd = ::open(QFile::encodeName(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const char* data, qsizetype size, int& error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The file that `path` stands for. A symbolic link (or a chain of them) is
// followed to the file it names, so that the replacement happens there and
// the link stays: users link profiles into place from synced folders. A link
// to a missing file names the file to create. The path is not cleaned up, as
// ".." after a linked folder is not the folder before it.
//
// As the kernel's protected-symlinks rule does for opens, a link in a sticky,
// world-writable folder (/tmp) is followed only when it belongs to the user
// or to the folder's owner: another user's link there could point the write
// at any file the user may change.
QString followLinks(const QString& path)
{
    QString current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray encoded = QFile::encodeName(current);
        struct stat info {};
        if (::lstat(encoded.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        const QString folder = folderOfPath(current);
        struct stat folderInfo {};
        if (::stat(QFile::encodeName(folder).constData(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX) != 0
            && (folderInfo.st_mode & S_IWOTH) != 0 && info.st_uid != ::geteuid() && info.st_uid != folderInfo.st_uid)
            fail(path,
                 QStringLiteral("\"%1\" is another user's symbolic link in the shared folder \"%2\", which is not "
                                "followed")
                     .arg(current, folder),
                 EACCES);
        QByteArray target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(encoded.constData(), target.data(), std::size_t(target.size()));
        if (n <= 0 || n >= target.size())
            fail(path, QStringLiteral("reading the symbolic link \"%1\"").arg(current), n < 0 ? errno : ENAMETOOLONG);
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = next.startsWith(QLatin1Char('/')) ? next : folderOfPath(current) + QLatin1Char('/') + next;
    }
    fail(path, QStringLiteral("following its symbolic links"), ELOOP);
}

// Makes the rename itself durable.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool isTemporaryTail(QStringView tail)
{
    // The random part (1 to 7 base-36 digits) and ".tmp".
    if (!tail.endsWith(QLatin1String(".tmp")))
        return false;
    const QStringView digits = tail.chopped(4);
    return !digits.isEmpty() && digits.size() <= 7
        && std::all_of(digits.begin(), digits.end(), [](QChar c) {
               return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                   || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
           });
}

} // namespace

QString temporaryNamePrefix(const QString& fileName)
{
    // ".", the name, ".", up to 7 digits and ".tmp" must fit NAME_MAX bytes:
    // a long name is cut, at a whole character.
    constexpr qsizetype kRoom = NAME_MAX - 1 - 1 - 7 - 4;
    QByteArray name = QFile::encodeName(fileName);
    if (name.size() > kRoom) {
        qsizetype cut = kRoom;
        while (cut > 0 && (std::uint8_t(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.truncate(cut);
    }
    return QLatin1Char('.') + QFile::decodeName(name) + QLatin1Char('.');
}

QStringList removeStaleTemporaryFiles(const QString& folder, const QStringList& fileNames, const QString& suffix)
{
    QStringList prefixes;
    for (const QString& name : fileNames)
        prefixes << temporaryNamePrefix(name);
    QStringList removed;
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-kStaleTemporaryAgeSeconds);
    const QDir dir(folder);
    // Names are matched here rather than by a name filter, which would compile a regular expression (and map
    // its library's pages) at every start.
    const QFileInfoList candidates = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : candidates) {
        const QString name = entry.fileName();
        if (!name.startsWith(QLatin1Char('.')) || !name.endsWith(QLatin1String(".tmp")))
            continue;
        bool ours = false;
        for (const QString& prefix : prefixes)
            ours = ours || (name.startsWith(prefix) && isTemporaryTail(QStringView(name).mid(prefix.size())));
        if (!ours && !suffix.isEmpty()) {
            const qsizetype end = name.lastIndexOf(QLatin1Char('.'), name.size() - 5);
            ours = end > 1 && QStringView(name).left(end).endsWith(suffix)
                && isTemporaryTail(QStringView(name).mid(end + 1));
        }
        // A regular file only (no link is followed), and old enough that no save of a running program owns it.
        if (!ours || entry.isSymLink() || !entry.isFile() || entry.lastModified() > staleBefore)
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            removed << name;
    }
    return removed;
}

QString moveFileAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = path + QLatin1String(".damaged-") + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    return QFile::rename(path, target) ? target : QString();
}

void setAtomicWriteProbe(AtomicWriteProbe newProbe)
{
    probe() = std::move(newProbe);
}

namespace {

// The file a write to `path` replaces, as found before the write.
struct WriteTarget {
    QString resolved;
    QByteArray encoded;
    struct stat existing {};
    bool exists = false;
};

// Follows the links and refuses a target that is a folder or a read-only file.
WriteTarget checkedTarget(const QString& path)
{
    WriteTarget target;
    target.resolved = followLinks(path);
    target.encoded = QFile::encodeName(target.resolved);
    target.exists = ::stat(target.encoded.constData(), &target.existing) == 0;
    if (target.exists && S_ISDIR(target.existing.st_mode))
        fail(path, QStringLiteral("it is a folder"), EISDIR);
    // A read-only file is refused, as Windows refuses to replace it.
    if (target.exists && S_ISREG(target.existing.st_mode) && (target.existing.st_mode & S_IWUSR) == 0)
        fail(path, QStringLiteral("the file is read-only"), EACCES);
    return target;
}

// Whether the regular file `target` holds exactly `bytes`; a file that cannot
// be read counts as different, and is then written as before.
bool holdsExactly(const WriteTarget& target, QByteArrayView bytes)
{
    if (!target.exists || !S_ISREG(target.existing.st_mode) || target.existing.st_size != bytes.size())
        return false;
    const int fd = ::open(target.encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    char buffer[16 * 1024];
    qsizetype offset = 0;
    bool same = true;
    while (same) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // The end must come exactly after the bytes; a read error is a difference.
            same = n == 0 && offset == bytes.size();
            break;
        }
        same = offset + n <= bytes.size() && std::memcmp(buffer, bytes.data() + offset, std::size_t(n)) == 0;
        offset += n;
    }
    ::close(fd);
    return same;
}

void writeTarget(const QString& path, const WriteTarget& checked, QByteArrayView bytes)
{
    const QString& resolved = checked.resolved;
    const QByteArray& target = checked.encoded;
    const struct stat& existing = checked.existing;
    const bool exists = checked.exists;

    // The new content goes to a new file beside the target, so the folder must
    // take new files even when the file itself is writable.
    const QString folder = folderOfPath(resolved);
    QString temporaryPath;
    int fd = -1;
    int error = probeAt(AtomicWriteStage::Create, folder);
    if (error == 0) {
        fd = createTemporary(resolved, temporaryPath);
        error = fd < 0 ? errno : 0;
    }
    if (error == EACCES || error == EPERM || error == EROFS)
        fail(path, QStringLiteral("its folder \"%1\" does not allow new files, which replacing the file needs")
                       .arg(folder),
             error);
    if (error != 0)
        fail(path, QStringLiteral("creating a temporary file in its folder \"%1\"").arg(folder), error);
    const QByteArray temporary = QFile::encodeName(temporaryPath);

    auto abandon = [&](const QString& what, int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        fail(path, what, code);
    };

    error = probeAt(AtomicWriteStage::Write, temporaryPath);
    if (error == 0)
        writeAll(fd, bytes.data(), bytes.size(), error);
    if (error != 0)
        abandon(QStringLiteral("writing"), error);

    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
        abandon(QStringLiteral("keeping its permissions"), errno);

    error = probeAt(AtomicWriteStage::Sync, temporaryPath);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0)
        abandon(QStringLiteral("flushing to disk"), error);

    if (::close(fd) != 0) {
        error = errno;
        ::unlink(temporary.constData());
        fail(path, QStringLiteral("closing"), error);
    }

    error = probeAt(AtomicWriteStage::Rename, temporaryPath);
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        fail(path, QStringLiteral("replacing the file"), error);
    }
    syncFolder(folder);
}

} // namespace

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    writeTarget(path, checkedTarget(path), bytes);
}

bool writeFileAtomicallyIfChanged(const QString& path, QByteArrayView bytes)
{
    const WriteTarget target = checkedTarget(path);
    if (holdsExactly(target, bytes))
        return false;
    writeTarget(path, target, bytes);
    return true;
}

} // namespace k4812
