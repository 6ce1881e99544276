#include "macros/MacroFiles.h"

#include "macros/MacroFolder.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"
#include "macros/MacroBounds.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"

#include "platform/storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace k4812 {

namespace {

// One macro file, replaced whole or not at all.
bool writeMacroFile(const QString& path, const TMACROKEYINFO& macro, QString& error)
{
    try {
        writeFileAtomically(path, recordToBytes(macro));
        return true;
    } catch (const StorageError& e) {
        error = e.message();
        return false;
    }
}

// The longest file name, in bytes, that the folder's file system takes.
long fileNameLimit(const QString& folder)
{
    if (!folder.isEmpty()) {
        const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
        if (limit > 0)
            return limit;
    }
    return NAME_MAX;
}

bool checkFolderText(const QString& folder, QString& error)
{
    // An empty folder text would put the files in the root folder.
    if (folder.isEmpty()) {
        error = QStringLiteral("no macro folder is set");
        return false;
    }
    return true;
}

} // namespace

QString macroFilePath(const QString& folder, const QString& name)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + name + QLatin1String(kMacroFileExtension);
}

bool isUsableMacroFileName(const QString& name, QString& error, const QString& folder)
{
    const auto refuse = [&](const QString& why) {
        QString shown = name;
        shown.replace(QChar(0), QStringLiteral("\\0"));
        error = QStringLiteral("the macro name \"%1\" cannot be used as a file name: %2").arg(shown, why);
        return false;
    };
    if (name.contains(QLatin1Char('/')))
        return refuse(QStringLiteral("it contains \"/\", which would put the file outside the macro folder"));
    if (name.contains(QChar(0)))
        return refuse(QStringLiteral("it contains a NUL character"));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return refuse(QStringLiteral("it holds half of a UTF-16 surrogate pair"));
    }
    const qsizetype bytes = (name + QLatin1String(kMacroFileExtension)).toUtf8().size();
    const long limit = fileNameLimit(folder);
    if (bytes > limit) {
        return refuse(QStringLiteral("its file name would be %1 bytes long, too long for the file system (at most %2)")
                          .arg(bytes)
                          .arg(limit));
    }
    return true;
}

bool saveMacroListToFiles(const TMACROKEYINFOLIST& list, const QString& folder, QString& error)
{
    if (!isMacroListInModel(list, error))
        return false;
    const int count = list.nMacroInfoCount;
    if (count == 0)
        return true;
    if (!checkFolderText(folder, error))
        return false;
    // One macro whose name cannot name a file must not cost the others theirs.
    QStringList leftOut;
    std::vector<int> usable;
    for (int i = 0; i < count; ++i) {
        QString why;
        if (isUsableMacroFileName(macroNameOf(list.MacroInfos[i]), why, folder))
            usable.push_back(i);
        else
            leftOut.append(QStringLiteral("macro %1: %2").arg(i + 1).arg(why));
    }
    const QString notWritten = leftOut.isEmpty()
        ? QString()
        : QStringLiteral("%1 of %2 macros have no file (they stay in the profile): %3")
              .arg(leftOut.size())
              .arg(count)
              .arg(leftOut.join(QStringLiteral("; ")));
    if (!usable.empty() && !makeFolderOneLevel(folder, error))
        return false;
    for (int i : usable) {
        const TMACROKEYINFO& macro = list.MacroInfos[i];
        if (!writeMacroFile(macroFilePath(folder, macroNameOf(macro)), macro, error)) {
            if (!notWritten.isEmpty())
                error += QStringLiteral("; ") + notWritten;
            return false;
        }
    }
    if (!notWritten.isEmpty()) {
        error = notWritten;
        return false;
    }
    return true;
}

bool writeNewMacroFile(const QString& folder, const QString& enteredName, ExistingMacroFile existing,
                       QString& error)
{
    const QString name = cutMacroName(enteredName);
    if (!isUsableMacroFileName(name, error, folder) || !checkFolderText(folder, error))
        return false;
    TMACROKEYINFO macro;
    std::memset(&macro, 0, sizeof macro);
    setMacroName(macro, name);
    macro.Version = kMacroFileVersion;
    if (!makeFolderOneLevel(folder, error))
        return false;
    const QString path = macroFilePath(folder, name);
    if (existing == ExistingMacroFile::Keep && QFileInfo(path).isFile())
        return true;
    return writeMacroFile(path, macro, error);
}

bool IsValidMacroVersion(const TMACROKEYINFO& macro)
{
    return macro.Version == kMacroFileVersion;
}

MacroFileRead readMacroFile(const QString& path, TMACROKEYINFO& macro, QString& error)
{
    // Only the record's bytes are read; a longer file keeps the rest unread.
    const RegularFileRead file = readRegularFile(path, kMacroFileSize);
    if (file.status == RegularFileRead::Status::Missing) {
        error = QStringLiteral("\"%1\" does not exist").arg(path);
        return MacroFileRead::Missing;
    }
    if (!file.read()) {
        error = file.error;
        return MacroFileRead::Invalid;
    }
    const QByteArray bytes = file.bytes.left(kMacroFileSize);
    if (bytes.size() < kMacroFileSize) {
        error = QStringLiteral("\"%1\" is not a macro file: it holds %2 bytes, a macro file %3")
                    .arg(path)
                    .arg(bytes.size())
                    .arg(kMacroFileSize);
        return MacroFileRead::Invalid;
    }
    TMACROKEYINFO read;
    copyBytesIntoRecord(read, bytes);
    if (!IsValidMacroVersion(read)) {
        error = QStringLiteral("\"%1\" is not a macro file: its version is %2, not %3")
                    .arg(path)
                    .arg(read.Version)
                    .arg(kMacroFileVersion);
        return MacroFileRead::Invalid;
    }
    QString why;
    if (!isMacroInModel(read, why)) {
        error = QStringLiteral("\"%1\" is damaged: %2").arg(path, why);
        return MacroFileRead::Invalid;
    }
    macro = read;
    return MacroFileRead::Read;
}

} // namespace k4812
