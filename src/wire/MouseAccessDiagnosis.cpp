#include "wire/MouseAccessDiagnosis.h"

#include "i18n/Translation.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace k4812 {

QStringList udevRuleFolders()
{
    return {QStringLiteral("/etc/udev/rules.d"), QStringLiteral("/run/udev/rules.d"),
            QStringLiteral("/usr/lib/udev/rules.d")};
}

bool isUdevRuleInstalled(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo rule(QDir(folder).filePath(QLatin1String(kUdevRuleName)));
        if (!rule.exists() && !rule.isSymLink())
            continue;
        // The first file of that name hides the others, also when it masks
        // the rule.
        if (rule.isSymLink() && rule.symLinkTarget() == QLatin1String("/dev/null"))
            return false;
        return rule.isFile() && rule.size() > 0;
    }
    return false;
}

QString explainMissingMouse(TuiHIDData& hid)
{
    return explainMissingMouse(hid, udevRuleFolders());
}

QString explainMissingMouse(TuiHIDData& hid, const QStringList& ruleFolders)
{
    bool found = false;
    int openError = 0;
    for (const HidCollection& c : hid.backend().enumerate()) {
        if (c.usagePage != kMouseUsageAndPage.UsagePage || c.usage != kMouseUsageAndPage.Usage
            || !hid.passesIncludeList(c))
            continue;
        found = true;
        int error = 0;
        if (hid.backend().open(c, error))
            return {};
        // A refused access says more than any other error: keep it.
        if (openError != EACCES && openError != EPERM)
            openError = error;
    }
    if (!found)
        return translate(QStringLiteral(
            "No device with the mouse's configuration interface is attached. Check the mouse and its cable."));
    if (openError == EACCES || openError == EPERM) {
        if (isUdevRuleInstalled(ruleFolders))
            return translate(QStringLiteral("You may not open the mouse's configuration interface, although the "
                                            "udev rule 70-k4812.rules is installed. Plug the mouse in again."));
        return translate(QStringLiteral("You may not open the mouse's configuration interface: the udev rule "
                                        "70-k4812.rules is not installed. Install the k4812 package or the rule "
                                        "(docs/building.md)."));
    }
    return translate(QStringLiteral("The mouse's configuration interface cannot be opened: %1"))
        .arg(QString::fromLocal8Bit(std::strerror(openError)));
}

} // namespace k4812
