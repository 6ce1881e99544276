#include "ui/skin/UiStyleSheet.h"

#include "platform/storage/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace k4812 {

namespace {

// The entries of `folder` named `name` in any letter case, the exact
// spelling first, then in the order of the names.
QStringList entriesNamed(const QString& folder, const QString& name, QDir::Filters kind)
{
    QStringList found;
    const QStringList entries = QDir(folder).entryList(kind | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (entry == name)
            found.prepend(entry);
        else
            found.append(entry);
    }
    return found;
}

} // namespace

QString uiStyleSheetPath(const QString& programFolder)
{
    const QString folderName = QStringLiteral("images");
    const QString fileName = QStringLiteral("ui.vgstyle");
    for (const QString& images : entriesNamed(programFolder, folderName, QDir::Dirs)) {
        const QString folder = programFolder + QLatin1Char('/') + images;
        const QStringList files = entriesNamed(folder, fileName, QDir::Files);
        if (!files.isEmpty())
            return folder + QLatin1Char('/') + files.first();
    }
    return programFolder + QStringLiteral("/Images/") + fileName;
}

QString uiStyleSheetPath()
{
    return uiStyleSheetPath(programFolder());
}

bool applyUiStyleSheet(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Style file %s cannot be read: %s", qUtf8Printable(path), qUtf8Printable(file.errorString()));
        return false;
    }
    // A style sheet is small; a file far larger is not one.
    constexpr qint64 kMaxStyleBytes = 4 * 1024 * 1024;
    if (file.size() > kMaxStyleBytes) {
        qWarning("Style file %s is too large to be a style sheet", qUtf8Printable(path));
        return false;
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return false;
    app->setStyleSheet(QString::fromUtf8(file.readAll()));
    return true;
}

} // namespace k4812
