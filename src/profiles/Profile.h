#pragma once
// TuiProfile: one block of bytes (a stored record) and its moves between
// memory, a file and a binary registry value.
//
// The store knows nothing about what the bytes mean; a file or a registry
// value is the buffer byte for byte. Operations answer true when done and
// false when there was nothing to do or a check or veto stopped them (a
// missing file or value, an empty path or name, an unsupported root key).
// A failure of the file or registry layer itself (a file that exists but
// cannot be read, a write that fails, a value that is not binary) throws
// StorageError. Files are replaced atomically: a failed save leaves the old
// file as it was. A file that already holds the buffer is left untouched (no
// write, no sync); a registry value that already holds it is not rewritten
// either, as the database writes only pages that change.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace k4812 {

class Registry;
class StorageError;

class TuiProfile {
public:
    using TuiProfileOnRestoreToDefault = std::function<void(QByteArray& AStream)>;
    // Set bContinue to false to cancel the operation, which then returns false.
    using TuiProfileEvent = std::function<void(QByteArray& AStream, bool& bContinue)>;
    using TuiProfileEvent2 = std::function<void(const QByteArray& AStream)>;

    // Larger files are refused rather than read into memory: no record is
    // anywhere near this size.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    // The registry operations use `registry`; without one they answer false.
    explicit TuiProfile(Registry* registry = nullptr);

    std::uint32_t RootKey() const { return FRootKey; }
    const QString& KeyPath() const { return FKeyPath; }
    const QString& FileName() const { return FFileName; }
    // The folder of the file, ending in '/' once set.
    const QString& FilePath() const { return FFilePath; }
    // The number of bytes the store holds.
    qint64 Size() const { return FMemoryStream.size(); }

    void setRootKey(std::uint32_t value);
    void setKeyPath(const QString& value);
    void setFileName(const QString& value);
    // Kept only when `value` names an existing folder; a '/' is appended.
    void setFilePath(const QString& value);
    // Resizes the buffer (new bytes are zero).
    void setSize(qint64 value);

    // Writes `count` bytes at the start of the buffer; the buffer grows when
    // needed and never shrinks. Returns the number of bytes written.
    int Write(const void* buffer, int count);
    // Copies min(count, Size()) bytes from the start of the buffer; the rest
    // of `buffer` is left as it was. Returns the number of bytes copied.
    int Read(void* buffer, int count) const;

    // The stored bytes themselves.
    const QByteArray& stream() const { return FMemoryStream; }

    bool LoadStreamFromFile();
    bool LoadStreamFromFile(const QString& strFilewithpath);
    bool LoadStreamFromRegistry();
    // Splits the path into FilePath and FileName, creating the folder (one
    // level) when missing. Nothing is written.
    bool PreSaveStreamToFile(const QString& strFileWithPath);
    bool SaveStreamToFile();
    bool SaveStreamToFile(const QString& strFileWithPath);
    bool SaveStreamToRegistry();
    // Saves the buffer to its file and its registry value together: both
    // take it or neither does. The file is written inside the registry
    // value's write (Registry::writeValue), so a file that cannot be written
    // leaves the value as it was; a value that then cannot be committed gets
    // the file's old bytes back (a new file is removed). When only one of the
    // two is set up (or allowed by its veto), that one is saved alone; false
    // when neither is. Throws StorageError as the two saves do.
    bool SaveStreamToFileAndRegistry();
    // Lets OnRestoreToDefault write the defaults into the buffer. Nothing is saved.
    void RestoreToDefault();

    TuiProfileOnRestoreToDefault OnRestoreToDefault;
    TuiProfileEvent OnBeforeSaveToRegistry;
    TuiProfileEvent OnBeforeSaveToFile;
    TuiProfileEvent OnBeforeLoadFromRegistry;
    TuiProfileEvent OnBeforeLoadFromFile;
    TuiProfileEvent2 OnAfterSaveToRegistry;
    TuiProfileEvent2 OnAfterSaveToFile;
    TuiProfileEvent2 OnAfterLoadFromRegistry;
    TuiProfileEvent2 OnAfterLoadFromFile;

    // The folder part of a path with its trailing '/', and the name part.
    static QString folderOf(const QString& fileWithPath);
    static QString nameOf(const QString& fileWithPath);

private:
    bool allowed(const TuiProfileEvent& veto);
    bool registryTargetUsable() const;
    void readWholeFile(const QString& path);
    // Puts the file back as it was before a save whose registry half failed
    // with `cause`; throws a StorageError saying both when that fails too.
    static void undoFileWrite(const QString& path, const std::optional<QByteArray>& previous,
                              const StorageError& cause);

    Registry* m_registry;
    QByteArray FMemoryStream;
    std::uint32_t FRootKey = 0;
    QString FKeyPath;
    QString FFileName;
    QString FFilePath;
};

} // namespace k4812
