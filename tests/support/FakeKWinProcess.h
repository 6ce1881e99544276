#pragma once
// Runs k4812-fake-kwin (tests/fakes/FakeKWin.cpp) on a given bus, for the
// tests that build it in (K4812_FAKE_KWIN names the program), and follows
// what it reports: the properties set and the signals it saw.

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace k4812::test {

class FakeKWinProcess {
public:
    // One "SYS|VENDOR|PRODUCT|NAME[|FLAGS]" per device; false when it did not come up.
    bool start(const QString& busAddress, const QStringList& devices)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        m_process.setProcessEnvironment(env);
        QStringList args;
        for (const QString& device : devices)
            args << QStringLiteral("--device") << device;
        m_process.start(QStringLiteral(K4812_FAKE_KWIN), args);
        return waitForLine(QStringLiteral("ready"));
    }
    ~FakeKWinProcess()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    // Waits until the fake has printed `line` (it prints as things happen).
    bool waitForLine(const QString& line)
    {
        QDeadlineTimer deadline(20000);
        while (!m_lines.contains(line)) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return false;
            while (m_process.canReadLine())
                m_lines << QString::fromUtf8(m_process.readLine()).trimmed();
        }
        return true;
    }
    // What it printed so far, with what is waiting to be read.
    QStringList lines()
    {
        while (m_process.waitForReadyRead(0)) {
        }
        while (m_process.canReadLine())
            m_lines << QString::fromUtf8(m_process.readLine()).trimmed();
        return m_lines;
    }

private:
    QProcess m_process;
    QStringList m_lines;
};

} // namespace k4812::test
