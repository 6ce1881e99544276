#include "ui/skin/UiStyleSheet.h"

#include "platform/storage/ProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace k4812 {

QString uiStyleSheetPath()
{
    return programFile(QStringLiteral("images/ui.vgstyle"));
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
