#pragma once
// The focused application on KDE Plasma (Wayland, and X11 alike): KWin tells
// no other program, but runs scripts. This source writes a small KWin script
// into the runtime folder and loads it over D-Bus (org.kde.KWin,
// /Scripting, org.kde.kwin.Scripting.loadScript, then run on the script's
// object); the script calls this program back over D-Bus with the active
// window's resourceClass (its X11 class or Wayland app id) on each
// activation. The script is unloaded when the source ends.

#include "monitor/FocusSource.h"

#include <QDBusConnection>

#include <optional>

namespace k4812 {

class KWinFocusSource final : public FocusSource {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.k4812.FocusSource")
public:
    // Where the script calls back.
    static constexpr const char* kService = "org.k4812.Monitor";
    static constexpr const char* kPath = "/FocusSource";
    static constexpr const char* kPluginName = "k4812-focus";

    explicit KWinFocusSource(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~KWinFocusSource() override;

    QString name() const override { return QStringLiteral("KWin"); }
    bool start(QString& error) override;

    // The script's text.
    static QByteArray script();

public slots:
    // Called by the script.
    void SetFocusedWindowClass(const QString& resourceClass);

private:
    QDBusConnection m_bus;
    QString m_scriptFile;
    bool m_loaded = false;
    std::optional<QString> m_last;
};

} // namespace k4812
