#include "ui/dialogs/HelpLinks.h"

#include "platform/storage/IniFile.h"
#include "profiles/AppConfig.h"

namespace k4812 {

QUrl webAddress(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    return url;
}

QList<HelpLink> helpLinksFrom(const IniFile& config)
{
    QList<HelpLink> links = {
        {QStringLiteral("Labelwebsite"), QStringLiteral("Web site"), QStringLiteral("WebSiteURL"), {}},
        {QStringLiteral("LabelWebSite2"), QStringLiteral("Users' forum"), QStringLiteral("ForumURL"), {}},
        {QStringLiteral("LabelWebSite3"), QStringLiteral("Social media"), QStringLiteral("SocialURL1"), {}},
        {QStringLiteral("LabelWebSite4"), QStringLiteral("Social media"), QStringLiteral("SocialURL2"), {}},
    };
    if (!AppConfig::fromIni(config).showsWebLinks())
        return links;
    const QString section = QStringLiteral("specialversion");
    for (HelpLink& link : links)
        link.url = webAddress(config.value(section, link.key));
    return links;
}

} // namespace k4812
