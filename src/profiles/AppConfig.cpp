#include "profiles/AppConfig.h"

#include "wire/HidData.h"
#include "platform/storage/IniFile.h"
#include "platform/storage/ProgramFolder.h"

#include <cstring>

namespace k4812 {

QString AppConfig::defaultPath()
{
    return programFile(QStringLiteral("config.ini"));
}

AppConfig AppConfig::fromFile(const QString& path, QString* error)
{
    return fromIni(IniFile::fromFile(path, error));
}

AppConfig AppConfig::fromIni(const IniFile& ini)
{
    AppConfig config;
    config.m_includeDeviceList = TuiHIDData::readIncludeList(ini);
    for (const IniFile::Entry& entry : ini.entries(QStringLiteral("HelpFiles")))
        config.m_helpFiles.append(entry);
    config.m_noLogo = ini.intValue(QStringLiteral("OtherConfig"), QStringLiteral("NoLogo"), 0);
    config.m_verifyAfterApply = ini.intValue(QStringLiteral("Options"), QStringLiteral("VerifyAfterApply"), 1) != 0;
    config.m_specialVersion =
        ini.value(QStringLiteral("specialversion"), QStringLiteral("VERSION"), QStringLiteral("V1"));
    return config;
}

bool AppConfig::showsWebLinks() const
{
    return m_specialVersion.toUpper() == QLatin1String("V2");
}

TOtherConfig AppConfig::otherConfig() const
{
    TOtherConfig other;
    std::memset(&other, 0, sizeof other);
    other.Nologo = m_noLogo;
    return other;
}

} // namespace k4812
