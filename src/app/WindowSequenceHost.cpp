#include "app/WindowSequenceHost.h"

#include "i18n/Translation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

namespace k4812 {

WindowSequenceHost::WindowSequenceHost(Operations operations) : m_ops(std::move(operations))
{
}

void WindowSequenceHost::waitWithEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void WindowSequenceHost::runStorage(const std::function<void()>& store)
{
    if (m_ops.runStorage)
        m_ops.runStorage(store);
    else
        store();
}

void WindowSequenceHost::pause(int milliseconds)
{
    processMessages();
    if (m_ops.wait)
        m_ops.wait(milliseconds);
}

void WindowSequenceHost::processMessages()
{
    QCoreApplication::processEvents();
}

void WindowSequenceHost::showProgress(bool visible)
{
    if (m_ops.showProgress)
        m_ops.showProgress(visible);
}

void WindowSequenceHost::showWarning(const QString& title, const QString& text)
{
    if (m_ops.warn)
        m_ops.warn(title, text);
}

void WindowSequenceHost::showNote(const QString& text)
{
    if (m_ops.warn)
        m_ops.warn(translate(QStringLiteral("Apply")), text);
}

void WindowSequenceHost::setPreSavedLedConfig(const TLEDCONFIG& light)
{
    if (m_ops.setPreSavedLedConfig)
        m_ops.setPreSavedLedConfig(light);
}

void WindowSequenceHost::currentProfileChanged()
{
    if (m_ops.currentProfileChanged)
        m_ops.currentProfileChanged();
}

std::shared_ptr<PointerSettings> WindowSequenceHost::pointerSettings()
{
    return m_ops.pointerSettings ? m_ops.pointerSettings : SequenceHost::pointerSettings();
}

SystemMouseParamsReport WindowSequenceHost::pointerSettingsReport()
{
    if (!m_ops.pointerSettingsDone || !m_ops.receiver)
        return {};
    // The worker may end after the window (and this host) are gone: it never
    // touches either, it posts to the application, and the receiver is looked
    // at on its own thread only.
    return [done = m_ops.pointerSettingsDone, receiver = m_ops.receiver](const SystemMouseParamsResult& result) {
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr)
            return;
        QMetaObject::invokeMethod(
            application,
            [done, receiver, result] {
                if (receiver)
                    done(result);
            },
            Qt::QueuedConnection);
    };
}

} // namespace k4812
