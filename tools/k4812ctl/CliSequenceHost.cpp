#include "CliSequenceHost.h"

#include "CheckedPointerSettings.h"
#include "platform/desktop/PointerSettingsFactory.h"

#include "CliPauser.h"

#include <cstring>

namespace k4812::cli {

QString outcomeText(int error)
{
    if (error == 0)
        return QStringLiteral("done");
    return QStringLiteral("failed: ") + QString::fromLocal8Bit(std::strerror(error));
}

void CliSequenceHost::pause(int milliseconds)
{
    cliPauser().pause(milliseconds);
}

void CliSequenceHost::showWarning(const QString& title, const QString& text)
{
    m_warned = true;
    // The dialog's text is laid out for the dialog (leading blanks); a line needs none.
    m_context.err() << "k4812ctl: " << title << ": " << text.trimmed() << '\n';
    m_context.err().flush();
}

void CliSequenceHost::showNote(const QString& text)
{
    m_context.out() << "Note: " << text << '\n';
    m_context.out().flush();
}

void CliSequenceHost::applyStepDone(const ApplyStepResult& result)
{
    QString name = QLatin1String(applyStepSourceText(result.step));
    if (result.bank >= 0)
        name = name.arg(result.bank + 1);
    m_context.out() << "  " << name << ": " << outcomeText(result.error) << '\n';
    m_context.out().flush();
}

std::shared_ptr<PointerSettings> CliSequenceHost::pointerSettings()
{
    std::shared_ptr<PointerSettings> desktop = createPointerSettings();
    if (!desktop)
        return nullptr;
    m_pointerSettings = std::make_shared<CheckedPointerSettings>(std::move(desktop));
    return m_pointerSettings;
}

QStringList CliSequenceHost::pointerSettingFailures() const
{
    return m_pointerSettings ? m_pointerSettings->failures() : QStringList();
}

} // namespace k4812::cli
