#include "app/WindowSequenceHost.h"

#include "i18n/Translation.h"

#include <QCoreApplication>
#include <QEventLoop>
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

} // namespace k4812
