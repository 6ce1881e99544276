#include "profiles/Profile.h"

#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"

#include <QDir>
#include "platform/storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace k4812 {

namespace {

QString withTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A file in the Windows sense: something that exists and is not a folder.
bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

// The folder exists, or it is created here (its parent must exist).
bool folderReady(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkdir(folder);
}

} // namespace

TuiProfile::TuiProfile(Registry* registry) : m_registry(registry) {}

QString TuiProfile::folderOf(const QString& fileWithPath)
{
    const qsizetype slash = fileWithPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : fileWithPath.left(slash + 1);
}

QString TuiProfile::nameOf(const QString& fileWithPath)
{
    return fileWithPath.mid(fileWithPath.lastIndexOf(QLatin1Char('/')) + 1);
}

void TuiProfile::setRootKey(std::uint32_t value)
{
    if (value != FRootKey)
        FRootKey = value;
}

void TuiProfile::setKeyPath(const QString& value)
{
    if (value != FKeyPath)
        FKeyPath = value;
}

void TuiProfile::setFileName(const QString& value)
{
    if (value != FFileName)
        FFileName = value;
}

void TuiProfile::setFilePath(const QString& value)
{
    if (value == FFilePath || value.isEmpty() || !QFileInfo(value).isDir())
        return;
    FFilePath = withTrailingSlash(value);
}

void TuiProfile::setSize(qint64 value)
{
    if (value < 0 || value == FMemoryStream.size())
        return;
    const qsizetype old = FMemoryStream.size();
    FMemoryStream.resize(qsizetype(value));
    if (value > old)
        std::memset(FMemoryStream.data() + old, 0, std::size_t(value - old));
}

int TuiProfile::Write(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    if (FMemoryStream.size() < count)
        FMemoryStream.resize(count);
    std::memcpy(FMemoryStream.data(), buffer, std::size_t(count));
    return count;
}

int TuiProfile::Read(void* buffer, int count) const
{
    const int n = int(std::clamp<qint64>(FMemoryStream.size(), 0, std::max(count, 0)));
    if (n > 0)
        std::memcpy(buffer, FMemoryStream.constData(), std::size_t(n));
    return n;
}

bool TuiProfile::allowed(const TuiProfileEvent& veto)
{
    if (!veto)
        return true;
    bool bContinue = true;
    veto(FMemoryStream, bContinue);
    return bContinue;
}

void TuiProfile::readWholeFile(const QString& path)
{
    // A pipe or a device would never end (or never answer): only regular files are read.
    RegularFileRead file = readRegularFile(path, kMaxFileSize);
    if (file.status == RegularFileRead::Status::NotRegular)
        throw StorageError(QStringLiteral("\"%1\" is not a regular file and cannot be read.").arg(path));
    if (!file.read())
        throw StorageError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.reason));
    QByteArray bytes = std::move(file.bytes);
    if (bytes.size() > kMaxFileSize) {
        throw StorageError(QStringLiteral("The file \"%1\" is larger than %2 bytes, too large for a stored record.")
                               .arg(path)
                               .arg(kMaxFileSize));
    }
    FMemoryStream = std::move(bytes);
}

bool TuiProfile::LoadStreamFromFile()
{
    if (!allowed(OnBeforeLoadFromFile))
        return false;
    if (FFilePath.isEmpty())
        return false;
    FFilePath = withTrailingSlash(FFilePath);
    const QString path = FFilePath + FFileName;
    if (FFileName.isEmpty() || !fileExists(path))
        return false;
    readWholeFile(path);
    if (OnAfterLoadFromFile)
        OnAfterLoadFromFile(FMemoryStream);
    return true;
}

bool TuiProfile::LoadStreamFromFile(const QString& strFilewithpath)
{
    if (!fileExists(strFilewithpath))
        return false;
    if (!allowed(OnBeforeLoadFromFile))
        return false;
    readWholeFile(strFilewithpath);
    if (OnAfterLoadFromFile)
        OnAfterLoadFromFile(FMemoryStream);
    return true;
}

bool TuiProfile::PreSaveStreamToFile(const QString& strFileWithPath)
{
    const QString folder = folderOf(strFileWithPath);
    if (!folderReady(folder))
        return false;
    FFilePath = folder;
    FFileName = nameOf(strFileWithPath);
    return true;
}

bool TuiProfile::SaveStreamToFile()
{
    if (!allowed(OnBeforeSaveToFile))
        return false;
    if (FFilePath.isEmpty() || FFileName.isEmpty())
        return false;
    FFilePath = withTrailingSlash(FFilePath);
    writeFileAtomicallyIfChanged(FFilePath + FFileName, FMemoryStream);
    if (OnAfterSaveToFile)
        OnAfterSaveToFile(FMemoryStream);
    return true;
}

bool TuiProfile::SaveStreamToFile(const QString& strFileWithPath)
{
    if (!folderReady(folderOf(strFileWithPath)) || nameOf(strFileWithPath).isEmpty())
        return false;
    if (!allowed(OnBeforeSaveToFile))
        return false;
    writeFileAtomicallyIfChanged(strFileWithPath, FMemoryStream);
    if (OnAfterSaveToFile)
        OnAfterSaveToFile(FMemoryStream);
    return true;
}

bool TuiProfile::registryTargetUsable() const
{
    return m_registry != nullptr && Registry::isSupportedRoot(FRootKey) && !FKeyPath.isEmpty() && !FFileName.isEmpty();
}

bool TuiProfile::LoadStreamFromRegistry()
{
    if (!allowed(OnBeforeLoadFromRegistry))
        return false;
    if (!registryTargetUsable())
        return false;
    if (!m_registry->openKey(FRootKey, FKeyPath, true))
        return false;
    const std::optional<Registry::Value> value = m_registry->readValue(FRootKey, FKeyPath, FFileName);
    if (!value)
        return false;
    if (value->type != Registry::ValueType::Binary) {
        throw StorageError(QStringLiteral("The registry value \"%1\" under \"%2\" is not binary data.")
                               .arg(FFileName, FKeyPath));
    }
    FMemoryStream = value->data;
    if (OnAfterLoadFromRegistry)
        OnAfterLoadFromRegistry(FMemoryStream);
    return true;
}

bool TuiProfile::SaveStreamToRegistry()
{
    if (!allowed(OnBeforeSaveToRegistry))
        return false;
    if (!registryTargetUsable())
        return false;
    m_registry->writeBinary(FRootKey, FKeyPath, FFileName, FMemoryStream);
    if (OnAfterSaveToRegistry)
        OnAfterSaveToRegistry(FMemoryStream);
    return true;
}

bool TuiProfile::SaveStreamToFileAndRegistry()
{
    const bool toFile = !FFilePath.isEmpty() && !FFileName.isEmpty() && allowed(OnBeforeSaveToFile);
    const bool toRegistry = registryTargetUsable() && allowed(OnBeforeSaveToRegistry);
    if (!toFile && !toRegistry)
        return false;
    FFilePath = FFilePath.isEmpty() ? FFilePath : withTrailingSlash(FFilePath);
    const QString path = FFilePath + FFileName;
    if (!toRegistry) {
        writeFileAtomicallyIfChanged(path, FMemoryStream);
    } else if (!toFile) {
        m_registry->writeBinary(FRootKey, FKeyPath, FFileName, FMemoryStream);
    } else {
        // What the file held, to put back should the value not be committed.
        // A file that cannot be read back has nothing left to keep.
        // Read up to its size and one byte more: a read of kMaxFileSize would first take that much memory.
        std::optional<QByteArray> previous;
        if (QFileInfo(path).isFile()) {
            QFile old(path);
            if (old.open(QIODevice::ReadOnly))
                previous = old.read(std::min(old.size(), kMaxFileSize) + 1);
        }
        bool fileWritten = false;
        try {
            m_registry->writeBinary(FRootKey, FKeyPath, FFileName, FMemoryStream,
                                    [&] { fileWritten = writeFileAtomicallyIfChanged(path, FMemoryStream); });
        } catch (const StorageError& error) {
            if (fileWritten)
                undoFileWrite(path, previous, error);
            throw;
        }
    }
    if (toFile && OnAfterSaveToFile)
        OnAfterSaveToFile(FMemoryStream);
    if (toRegistry && OnAfterSaveToRegistry)
        OnAfterSaveToRegistry(FMemoryStream);
    return true;
}

void TuiProfile::undoFileWrite(const QString& path, const std::optional<QByteArray>& previous,
                               const StorageError& cause)
{
    try {
        if (previous)
            writeFileAtomically(path, *previous);
        else if (!QFile::remove(path))
            throw StorageError(QStringLiteral("\"%1\" could not be removed.").arg(path));
    } catch (const StorageError& undo) {
        throw StorageError(QStringLiteral("%1 The file \"%2\" was written and could not be put back: %3")
                               .arg(cause.message(), path, undo.message()));
    }
}

void TuiProfile::RestoreToDefault()
{
    if (OnRestoreToDefault)
        OnRestoreToDefault(FMemoryStream);
}

} // namespace k4812
