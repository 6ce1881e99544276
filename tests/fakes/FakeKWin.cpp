// A stand-in for KWin's input-device D-Bus interface, for tests on a private
// session bus: the service org.kde.KWin with the device manager at
// /org/kde/KWin/InputDevice (devicesSysNames) and one
// org.kde.KWin.InputDevice object per device, with the properties Plasma's
// mouse settings use, under KWin's names and D-Bus types.
//
// Usage: k4812-fake-kwin [--device "SYS|VENDOR|PRODUCT|NAME[|FLAGS]"]...
// FLAGS, comma-separated: touchpad, keyboard (not a pointer), stuck (a device
// without acceleration or scroll settings: it accepts every Set and keeps its
// values, as KWin does for a capability the device lacks).
// Prints "ready" once the name is owned, then one line per property set
// ("set SYS PROPERTY VALUE") and per KGlobalSettings.notifyChange
// ("notifyChange TYPE ARG"), so that a test can follow it.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class FakeDevice final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(bool keyboard READ keyboard CONSTANT)
    Q_PROPERTY(bool pointer READ pointer CONSTANT)
    Q_PROPERTY(bool touchpad READ touchpad CONSTANT)
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(QString sysName READ sysName CONSTANT)
    Q_PROPERTY(quint32 vendor READ vendor CONSTANT)
    Q_PROPERTY(quint32 product READ product CONSTANT)
    Q_PROPERTY(bool supportsPointerAcceleration READ supportsSettings CONSTANT)
    Q_PROPERTY(qreal pointerAcceleration READ pointerAcceleration WRITE setPointerAcceleration)
    Q_PROPERTY(bool supportsPointerAccelerationProfileFlat READ supportsSettings CONSTANT)
    Q_PROPERTY(bool pointerAccelerationProfileFlat READ profileFlat WRITE setProfileFlat)
    Q_PROPERTY(bool supportsPointerAccelerationProfileAdaptive READ supportsSettings CONSTANT)
    Q_PROPERTY(bool pointerAccelerationProfileAdaptive READ profileAdaptive WRITE setProfileAdaptive)
    Q_PROPERTY(qreal scrollFactor READ scrollFactor WRITE setScrollFactor)

public:
    QString m_sysName;
    QString m_name;
    quint32 m_vendor = 0;
    quint32 m_product = 0;
    bool m_touchpad = false;
    bool m_keyboard = false;
    bool m_stuck = false;
    qreal m_acceleration = 0;
    bool m_flat = false;
    qreal m_scrollFactor = 1;

    bool keyboard() const { return m_keyboard; }
    bool pointer() const { return !m_keyboard; }
    bool touchpad() const { return m_touchpad; }
    QString name() const { return m_name; }
    QString sysName() const { return m_sysName; }
    quint32 vendor() const { return m_vendor; }
    quint32 product() const { return m_product; }
    bool supportsSettings() const { return !m_stuck; }
    qreal pointerAcceleration() const { return m_acceleration; }
    bool profileFlat() const { return m_flat; }
    bool profileAdaptive() const { return !m_flat; }
    qreal scrollFactor() const { return m_scrollFactor; }

    void setPointerAcceleration(qreal value)
    {
        report(QStringLiteral("pointerAcceleration"), QString::number(value));
        if (!m_stuck)
            m_acceleration = qBound(-1.0, value, 1.0);
    }
    // As in KWin: setting one profile false selects the other.
    void setProfileFlat(bool set)
    {
        report(QStringLiteral("pointerAccelerationProfileFlat"), set ? "true" : "false");
        if (!m_stuck)
            m_flat = set;
    }
    void setProfileAdaptive(bool set)
    {
        report(QStringLiteral("pointerAccelerationProfileAdaptive"), set ? "true" : "false");
        if (!m_stuck)
            m_flat = !set;
    }
    void setScrollFactor(qreal value)
    {
        report(QStringLiteral("scrollFactor"), QString::number(value));
        if (!m_stuck)
            m_scrollFactor = value;
    }

private:
    void report(const QString& property, const QString& value) const
    {
        say(QStringLiteral("set %1 %2 %3").arg(m_sysName, property, value));
    }
};

class FakeManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames READ devicesSysNames CONSTANT)

public:
    QStringList names;
    QStringList devicesSysNames() const { return names; }

public slots:
    void onNotifyChange(int type, int arg) { say(QStringLiteral("notifyChange %1 %2").arg(type).arg(arg)); }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fputs("k4812-fake-kwin: no session bus\n", stderr);
        return 2;
    }
    FakeManager manager;
    if (!bus.registerObject(QStringLiteral("/org/kde/KWin/InputDevice"), &manager, QDBusConnection::ExportAllProperties)) {
        std::fputs("k4812-fake-kwin: cannot register the device manager\n", stderr);
        return 2;
    }
    std::vector<std::unique_ptr<FakeDevice>> devices;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QStringList parts = args.value(i + 1).split(QLatin1Char('|'));
        if (args[i] != QLatin1String("--device") || parts.size() < 4) {
            std::fputs("usage: k4812-fake-kwin [--device \"SYS|VENDOR|PRODUCT|NAME[|FLAGS]\"]...\n", stderr);
            return 2;
        }
        ++i;
        auto device = std::make_unique<FakeDevice>();
        device->m_sysName = parts[0];
        device->m_vendor = parts[1].toUInt();
        device->m_product = parts[2].toUInt();
        device->m_name = parts[3];
        const QStringList flags = parts.value(4).split(QLatin1Char(','), Qt::SkipEmptyParts);
        device->m_touchpad = flags.contains(QStringLiteral("touchpad"));
        device->m_keyboard = flags.contains(QStringLiteral("keyboard"));
        device->m_stuck = flags.contains(QStringLiteral("stuck"));
        if (!bus.registerObject(QStringLiteral("/org/kde/KWin/InputDevice/") + device->m_sysName, device.get(),
                                QDBusConnection::ExportAllProperties)) {
            std::fputs("k4812-fake-kwin: cannot register a device\n", stderr);
            return 2;
        }
        manager.names << device->m_sysName;
        devices.push_back(std::move(device));
    }
    if (!bus.connect(QString(), QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"),
                        QStringLiteral("notifyChange"), &manager, SLOT(onNotifyChange(int, int)))
        || !bus.registerService(QStringLiteral("org.kde.KWin"))) {
        std::fputs("k4812-fake-kwin: cannot own org.kde.KWin\n", stderr);
        return 2;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "FakeKWin.moc"
