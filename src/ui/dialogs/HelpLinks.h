#pragma once
// The four web links of the help dialog. They are shown only when config.ini
// says [specialversion] VERSION=V2 (any case), and each only when config.ini
// also gives its address, in the same section:
//
//   [specialversion]
//   VERSION=V2
//   WebSiteURL=https://...      the maker's web site      (Labelwebsite)
//   ForumURL=https://...        the users' forum          (LabelWebSite2)
//   SocialURL1=https://...      a social-media page       (LabelWebSite3)
//   SocialURL2=https://...      another social-media page (LabelWebSite4)
//
// The program itself knows no address. Only http and https addresses with a
// host are taken; anything else (a local file, a command) keeps its label
// hidden.

#include <QList>
#include <QString>
#include <QUrl>

namespace k4812 {

class IniFile;

struct HelpLink {
    QString objectName;   // "Labelwebsite", "LabelWebSite2", ...
    QString caption;      // English; shown translated
    QString key;          // the config.ini key of its address
    QUrl url;             // empty: the label stays hidden
};

// The four links in their order, with the addresses config.ini gives when
// the links are enabled; without VERSION=V2 every address is empty.
QList<HelpLink> helpLinksFrom(const IniFile& config);

// Whether `text` is an address the help dialog may open.
QUrl webAddress(const QString& text);

} // namespace k4812
