#pragma once
// The busy indicator shown while a device sequence runs: a ring of dots
// turning. Shown only while running. The frame timer's interval can be set,
// and advanceFrame() steps it by hand, so tests need no waiting. Assistive
// technology sees a progress bar that is busy.

#include <QTimer>
#include <QWidget>

namespace k4812 {

class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 12;

    explicit BusyIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return m_running; }

    int frame() const { return m_frame; }
    void advanceFrame();
    void setFrameInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    int frameInterval() const { return m_timer.interval(); }

    QSize sizeHint() const override { return QSize(32, 32); }

signals:
    void runningChanged(bool running);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
    bool m_running = false;
};

} // namespace k4812
