#include "platform/desktop/JournalPointerSettings.h"

#include <QFile>
#include <QtGlobal>

#include <mutex>

namespace k4812 {

JournalPointerSettings::JournalPointerSettings(QString journalFile)
    : m_journalFile(std::move(journalFile))
{
}

PointerSettingResult JournalPointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    return append(PointerSetting::Acceleration, QStringLiteral("SPI_SETMOUSE %1 %2 %3")
                      .arg(value.firstThreshold)
                      .arg(value.secondThreshold)
                      .arg(value.acceleration));
}

PointerSettingResult JournalPointerSettings::applyMouseSpeed(int speed)
{
    return append(PointerSetting::PointerSpeed, QStringLiteral("SPI_SETMOUSESPEED %1").arg(speed));
}

PointerSettingResult JournalPointerSettings::applyWheelScrollLines(int lines)
{
    return append(PointerSetting::WheelScrollLines, QStringLiteral("SPI_SETWHEELSCROLLLINES %1").arg(lines));
}

PointerSettingResult JournalPointerSettings::applyDoubleClickTime(int milliseconds)
{
    return append(PointerSetting::DoubleClickTime, QStringLiteral("SPI_SETDOUBLECLICKTIME %1").arg(milliseconds));
}

PointerSettingResult JournalPointerSettings::append(PointerSetting setting, const QString& line)
{
    // One lock for every journal of the process: the worker thread and the
    // window may write at the same time, and a line must never be split.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    QFile file(m_journalFile);
    const QByteArray bytes = line.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size() || !file.flush()) {
        return failed(setting, QStringLiteral("cannot write %1: %2").arg(m_journalFile, file.errorString()));
    }
    return PointerSettingResult::Applied;
}

} // namespace k4812
