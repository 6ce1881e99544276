#include "platform/storage/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace k4812 {

QString programFolder()
{
    const QString overridden = qEnvironmentVariable("K4812_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString programFile(const QString& name)
{
    return programFolder() + QLatin1Char('/') + name;
}

} // namespace k4812
