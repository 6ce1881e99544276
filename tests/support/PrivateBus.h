#pragma once
// A session bus of the test's own (dbus-daemon --session), ended with it.

#include <QProcess>
#include <QString>

namespace k4812::test {

class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (m_daemon.waitForReadyRead(20000))
            address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QString address;   // empty when the daemon did not start

private:
    QProcess m_daemon;
};

} // namespace k4812::test
