#include "monitor/KWinFocusSource.h"

#include "platform/desktop/RuntimeFolder.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"

#include <QDBusMessage>
#include <QFile>

namespace k4812 {

namespace {

QDBusMessage scripting(const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
                                          QStringLiteral("org.kde.kwin.Scripting"), method);
}

} // namespace

KWinFocusSource::KWinFocusSource(QDBusConnection bus, QObject* parent) : FocusSource(parent), m_bus(std::move(bus)) {}

KWinFocusSource::~KWinFocusSource()
{
    if (m_loaded) {
        QDBusMessage unload = scripting(QStringLiteral("unloadScript"));
        unload << QLatin1String(kPluginName);
        m_bus.call(unload, QDBus::BlockWithGui, 2000);
    }
    if (!m_scriptFile.isEmpty())
        QFile::remove(m_scriptFile);
    m_bus.unregisterObject(QLatin1String(kPath));
    m_bus.unregisterService(QLatin1String(kService));
}

QByteArray KWinFocusSource::script()
{
    // KWin 6 names the signal windowActivated and the window activeWindow;
    // KWin 5 clientActivated and activeClient.
    return QByteArray("function report(window) {\n"
                      "    callDBus(\"") + kService + "\", \"" + kPath + "\", \"org.k4812.FocusSource\",\n"
           "             \"SetFocusedWindowClass\", window ? String(window.resourceClass) : \"\");\n"
           "}\n"
           "(workspace.windowActivated || workspace.clientActivated).connect(report);\n"
           "report(workspace.activeWindow || workspace.activeClient);\n";
}

bool KWinFocusSource::start(QString& error)
{
    if (!m_bus.isConnected()) {
        error = QStringLiteral("no session bus");
        return false;
    }
    if (!m_bus.registerObject(QLatin1String(kPath), this, QDBusConnection::ExportAllSlots)
        || !m_bus.registerService(QLatin1String(kService))) {
        error = QStringLiteral("cannot take the bus name %1: %2")
                    .arg(QLatin1String(kService), m_bus.lastError().message());
        return false;
    }
    const QString folder = runtimeFolder(&error);
    if (folder.isEmpty())
        return false;
    m_scriptFile = folder + QLatin1String("/kwin-focus.js");
    try {
        writeFileAtomically(m_scriptFile, script());
    } catch (const StorageError& e) {
        error = e.message();
        return false;
    }
    // A copy left by a monitor that was killed would report twice.
    QDBusMessage unload = scripting(QStringLiteral("unloadScript"));
    unload << QLatin1String(kPluginName);
    m_bus.call(unload, QDBus::BlockWithGui, 5000);

    QDBusMessage load = scripting(QStringLiteral("loadScript"));
    load << m_scriptFile << QLatin1String(kPluginName);
    const QDBusMessage loaded = m_bus.call(load, QDBus::BlockWithGui, 5000);
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty()) {
        error = QStringLiteral("KWin does not load scripts: %1").arg(loaded.errorMessage());
        return false;
    }
    const int id = loaded.arguments().first().toInt();
    if (id < 0) {
        error = QStringLiteral("KWin refused the focus script");
        return false;
    }
    m_loaded = true;
    // KWin 6 puts the script at /Scripting/Script<id>, KWin 5 at /<id>.
    for (const QString& path : {QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("/%1").arg(id)}) {
        const QDBusMessage run = QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), path,
                                                                QStringLiteral("org.kde.kwin.Script"),
                                                                QStringLiteral("run"));
        if (m_bus.call(run, QDBus::BlockWithGui, 5000).type() == QDBusMessage::ReplyMessage)
            return true;
    }
    error = QStringLiteral("KWin loaded the focus script but does not run it");
    return false;
}

void KWinFocusSource::SetFocusedWindowClass(const QString& resourceClass)
{
    if (m_last == resourceClass)
        return;
    m_last = resourceClass;
    emit focusChanged(resourceClass);
}

} // namespace k4812
