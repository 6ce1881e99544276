// Feeds arbitrary bytes to the initialization-file reader and checks that
// every lookup agrees with the entry list it reports.

#include "platform/storage/IniFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const k4812::IniFile ini = k4812::IniFile::fromBytes(bytes);
    for (const char* section : {"IncludeHIDDeviceList", "OtherConfig", "HelpFiles", "specialversion", ""}) {
        const QString name = QString::fromLatin1(section);
        for (const k4812::IniFile::Entry& entry : ini.entries(name)) {
            // The first of duplicate keys wins, so every listed key finds its own value.
            if (!ini.contains(name, entry.first) || ini.value(name, entry.first) != entry.second)
                std::abort();
            (void)ini.intValue(name, entry.first, 0);
        }
        (void)ini.value(name, QStringLiteral("id1"));
    }
    return 0;
}
