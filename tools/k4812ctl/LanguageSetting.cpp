#include "LanguageSetting.h"

#include "i18n/LanguageDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace k4812::cli {

std::optional<int> FileLanguageSetting::currentLanguage(QString& error)
{
    QFile file(m_path);
    if (!file.exists())
        return systemDefaultLanguageIndex();
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read \"%1\": %2").arg(m_path, file.errorString());
        return std::nullopt;
    }
    bool ok = false;
    const int index = file.read(32).trimmed().toInt(&ok);
    if (!ok) {
        error = QStringLiteral("\"%1\" does not hold a language index").arg(m_path);
        return std::nullopt;
    }
    return index;
}

bool FileLanguageSetting::setCurrentLanguage(int index, QString& error)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    const QByteArray bytes = QByteArray::number(index) + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("cannot write \"%1\": %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

std::unique_ptr<LanguageSetting> openLanguageSetting()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return std::make_unique<FileLanguageSetting>(folder + QStringLiteral("/CurrentLanguage"));
}

} // namespace k4812::cli
