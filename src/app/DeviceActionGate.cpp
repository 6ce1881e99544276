#include "app/DeviceActionGate.h"

namespace k4812 {

void DeviceActionGate::addControl(QWidget* control)
{
    if (control != nullptr)
        m_controls.push_back({control, control->isEnabled()});
}

DeviceActionGate::Run DeviceActionGate::begin()
{
    if (m_busy)
        return Run(nullptr);
    m_busy = true;
    for (Control& c : m_controls) {
        if (c.widget) {
            c.wasEnabled = c.widget->isEnabled();
            c.widget->setEnabled(false);
        }
    }
    emit busyChanged(true);
    return Run(this);
}

void DeviceActionGate::end()
{
    if (!m_busy)
        return;
    m_busy = false;
    for (const Control& c : m_controls) {
        if (c.widget)
            c.widget->setEnabled(c.wasEnabled);
    }
    emit busyChanged(false);
}

DeviceActionGate::Run::~Run()
{
    if (m_gate)
        m_gate->end();
}

} // namespace k4812
