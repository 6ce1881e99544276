#pragma once
// Moves a borderless window when the user drags its top bar. The first move
// with the left button held hands the drag to the window system
// (QWindow::startSystemMove, which is what works on Wayland); where that is
// refused (the offscreen platform, some X11 window managers) the window
// follows the pointer itself. A press on a control never starts a drag, so
// the buttons of the top bar keep working.

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;
class QWindow;

namespace k4812 {

class TopBarDragger : public QObject {
    Q_OBJECT
public:
    // Asks the window system to move the window; false when it will not.
    using SystemMove = std::function<bool(QWindow*)>;

    TopBarDragger(QWidget* window, int topBarHeight);

    void setTopBarHeight(int height) { m_topBarHeight = height; }
    int topBarHeight() const { return m_topBarHeight; }
    void setSystemMove(SystemMove systemMove) { m_systemMove = std::move(systemMove); }

    // Whether a press at this point of the window would start a drag: in
    // the top bar and not on a control.
    bool canStartDragAt(QPoint windowPoint) const;
    // Whether `widget` takes input itself (a button, box, bar, list, ...).
    static bool isControl(const QWidget* widget);

    enum class Drag { None, Armed, System, Manual };
    Drag state() const { return m_state; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    int m_topBarHeight;
    SystemMove m_systemMove;
    Drag m_state = Drag::None;
    QPoint m_pressGlobal;
    QPoint m_windowStart;
};

} // namespace k4812
