#include "platform/desktop/KWinInputDevices.h"

#include "platform/storage/ProgramFolder.h"

#include <QFile>

#include <dlfcn.h>

namespace k4812 {

namespace {

// Stands in for KWin when the module cannot be loaded: every call fails with the reason.
class UnreachableKWin final : public KWinInputDevices {
public:
    explicit UnreachableKWin(QString reason)
        : m_reason(std::move(reason))
    {
    }

    std::optional<QList<KWinPointerDevice>> pointerDevices(QString& error) const override
    {
        error = m_reason;
        return std::nullopt;
    }
    bool setProperty(const QString&, const QString&, const QVariant&, QString& error) const override
    {
        error = m_reason;
        return false;
    }
    std::optional<QVariant> property(const QString&, const QString&, QString& error) const override
    {
        error = m_reason;
        return std::nullopt;
    }
    bool notifyMouseSettingsChanged(QString& error) const override
    {
        error = m_reason;
        return false;
    }

private:
    QString m_reason;
};

} // namespace

std::shared_ptr<KWinInputDevices> loadKWinInputDevices(const QString& folder)
{
    const QString path = (folder.isEmpty() ? programFolder() : folder) + QLatin1Char('/')
                         + QLatin1String(kKWinModuleFileName);
    const auto unreachable = [&path](const QString& why) {
        return std::make_shared<UnreachableKWin>(
            QStringLiteral("KDE's support module %1 cannot be used: %2").arg(path, why));
    };
    // By its full path, so no library of that name elsewhere is taken. The
    // module stays loaded: the objects it makes keep their code there.
    void* module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        return unreachable(QString::fromLocal8Bit(::dlerror()));
    const auto entry = reinterpret_cast<KWinModuleEntry>(::dlsym(module, kKWinModuleEntry));
    if (entry == nullptr) {
        ::dlclose(module);
        return unreachable(QStringLiteral("it lacks %1").arg(QLatin1String(kKWinModuleEntry)));
    }
    KWinInputDevices* devices = entry(kKWinModuleInterfaceVersion);
    if (devices == nullptr) {
        ::dlclose(module);
        return unreachable(QStringLiteral("it belongs to another version of this program"));
    }
    return std::shared_ptr<KWinInputDevices>(devices);
}

} // namespace k4812
