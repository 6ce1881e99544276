#include "emulator/HidBackendFactory.h"
#include "emulator/EmulatorHidBackend.h"
#include "platform/hid/HidrawBackend.h"

#include <QDebug>

namespace k4812 {

std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection, QString& error)
{
    if (selection.kind == DeviceSelection::Kind::Hidraw)
        return std::make_unique<HidrawBackend>();
    const std::optional<EmulatorFaults> faults = emulatorFaultsFromEnvironment(error);
    if (!faults)
        return nullptr;
    const QString stateFile = selection.stateFile.isEmpty() ? defaultEmulatorStateFile() : selection.stateFile;
    return EmulatorHidBackend::create(stateFile, *faults, error);
}

std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection)
{
    QString error;
    std::unique_ptr<HidBackend> backend = createHidBackend(selection, error);
    if (!backend)
        qWarning().noquote() << error;
    return backend;
}

} // namespace k4812
