#include "platform/hid/DeviceSelection.h"

#include "platform/storage/ProgramFolder.h"

#include <QStandardPaths>

namespace k4812 {

std::optional<DeviceSelection> parseDeviceSelection(const QString& text, QString& error)
{
    if (text == QLatin1String("hidraw"))
        return DeviceSelection{DeviceSelection::Kind::Hidraw, {}};
    if (text == QLatin1String("emulator"))
        return DeviceSelection{DeviceSelection::Kind::Emulator, {}};
    if (text.startsWith(QLatin1String("emulator:"))) {
        const QString file = text.mid(int(sizeof("emulator:") - 1));
        if (file.isEmpty()) {
            error = QStringLiteral("the emulator's state file name is empty in \"%1\"").arg(text);
            return std::nullopt;
        }
        return DeviceSelection{DeviceSelection::Kind::Emulator, file};
    }
    error = QStringLiteral("unknown device \"%1\": use hidraw, emulator or emulator:STATEFILE").arg(text);
    return std::nullopt;
}

std::optional<DeviceSelection> resolveDeviceSelection(const QString& option, QString& error)
{
    if (!option.isEmpty())
        return parseDeviceSelection(option, error);
    const QString fromEnv = qEnvironmentVariable("K4812_DEVICE");
    if (!fromEnv.isEmpty())
        return parseDeviceSelection(fromEnv, error);
    return DeviceSelection{};
}

QString defaultEmulatorStateFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return folder + QLatin1Char('/') + QLatin1String(kApplicationName) + QLatin1String("/emulator.state");
}

} // namespace k4812
