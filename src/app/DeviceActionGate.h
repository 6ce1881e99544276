#pragma once
// While one device sequence runs (apply, a profile or mode button, a light
// preview), the window starts no second one: two sequences would interleave
// their commands inside the mouse's update brackets. The sequences pause with
// the event loop running, so clicks and timers do arrive meanwhile.
//
// Every control that starts a sequence is added here and is disabled while
// one runs (its enabled state is put back afterwards), and every sequence
// starts through begin(), which refuses while another runs, so that a
// control enabled meanwhile by something else still cannot start one.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace k4812 {

class DeviceActionGate final : public QObject {
    Q_OBJECT
public:
    explicit DeviceActionGate(QObject* parent = nullptr) : QObject(parent) {}

    // A control that starts a device sequence.
    void addControl(QWidget* control);

    bool busy() const { return m_busy; }

    // Held for the length of one sequence.
    class Run {
    public:
        explicit Run(DeviceActionGate* gate) : m_gate(gate) {}
        Run(Run&& other) noexcept : m_gate(other.m_gate) { other.m_gate = nullptr; }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;
        Run& operator=(Run&&) = delete;
        ~Run();
        explicit operator bool() const { return m_gate != nullptr; }

    private:
        QPointer<DeviceActionGate> m_gate;
    };

    // A held Run, or an empty one when a sequence runs already.
    Run begin();

signals:
    // A sequence started (true) or ended (false).
    void busyChanged(bool busy);

private:
    void end();

    struct Control {
        QPointer<QWidget> widget;
        bool wasEnabled = true;
    };
    std::vector<Control> m_controls;
    bool m_busy = false;
};

} // namespace k4812
