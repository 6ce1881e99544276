#pragma once
// config.ini, the installation's optional, hand-edited settings beside the
// executable. It is read once and never written; whatever is missing takes
// its default.
//
//   [IncludeHIDDeviceList] id1, id2, ... (at most 101, up to the first
//                          missing or empty key): hardware IDs of the mice
//                          this installation accepts; empty = any
//   [HelpFiles]            language ID = help file, kept in file order
//   [OtherConfig]          NoLogo: integer, default 0 (non-numeric = 0)
//   [specialversion]       VERSION: text, default "V1"; "V2" in any letter
//                          case shows the help window's web links
//   [Options]              VerifyAfterApply: integer, default 1; 0 turns off
//                          reading the mouse back after an apply

#include "records/Records.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace k4812 {

class IniFile;

class AppConfig {
public:
    using HelpFile = QPair<QString, QString>; // language ID, file

    AppConfig() = default;

    // programFile("config.ini").
    static QString defaultPath();
    // A missing or unreadable file gives the defaults.
    static AppConfig fromFile(const QString& path, QString* error = nullptr);
    static AppConfig fromIni(const IniFile& ini);

    const QStringList& includeDeviceList() const { return m_includeDeviceList; }
    const QList<HelpFile>& helpFiles() const { return m_helpFiles; }
    int noLogo() const { return m_noLogo; }
    const QString& specialVersion() const { return m_specialVersion; }
    // Whether the help window shows its web links ([specialversion] VERSION is "V2").
    bool showsWebLinks() const;
    // Whether an apply reads back what it wrote and compares ([Options] VerifyAfterApply, not 0).
    bool verifyAfterApply() const { return m_verifyAfterApply; }

    // The options as the profile manager keeps them: Nologo set, the other
    // fields zero (the help files are kept in helpFiles(), not in the record).
    TOtherConfig otherConfig() const;

private:
    QStringList m_includeDeviceList;
    QList<HelpFile> m_helpFiles;
    int m_noLogo = 0;
    QString m_specialVersion = QStringLiteral("V1");
    bool m_verifyAfterApply = true;
};

} // namespace k4812
