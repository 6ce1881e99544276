#include "ui/windows/TopBarDragger.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QWidget>
#include <QWindow>

namespace k4812 {

TopBarDragger::TopBarDragger(QWidget* window, int topBarHeight)
    : QObject(window), m_window(window), m_topBarHeight(topBarHeight),
      m_systemMove([](QWindow* handle) { return handle && handle->startSystemMove(); })
{
    window->installEventFilter(this);
}

bool TopBarDragger::isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget)
           || qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QLineEdit*>(widget)
           || qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QComboBox*>(widget)
           || qobject_cast<const QTabBar*>(widget) || widget->focusPolicy() != Qt::NoFocus;
}

bool TopBarDragger::canStartDragAt(QPoint windowPoint) const
{
    if (windowPoint.y() < 0 || windowPoint.y() >= m_topBarHeight || !m_window->rect().contains(windowPoint))
        return false;
    for (const QWidget* hit = m_window->childAt(windowPoint); hit && hit != m_window; hit = hit->parentWidget()) {
        if (isControl(hit))
            return false;
    }
    return true;
}

bool TopBarDragger::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // A system move may have swallowed the last release: every press starts afresh.
        m_state = Drag::None;
        if (mouse->button() == Qt::LeftButton && canStartDragAt(mouse->position().toPoint())) {
            m_state = Drag::Armed;
            m_pressGlobal = mouse->globalPosition().toPoint();
            m_windowStart = m_window->pos();
            return true;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_state == Drag::None || !(mouse->buttons() & Qt::LeftButton))
            return false;
        if (m_state == Drag::Armed)
            m_state = m_systemMove(m_window->windowHandle()) ? Drag::System : Drag::Manual;
        if (m_state == Drag::Manual)
            m_window->move(m_windowStart + (mouse->globalPosition().toPoint() - m_pressGlobal));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_state != Drag::None && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_state = Drag::None;
            return true;
        }
        return false;
    default: return false;
    }
}

} // namespace k4812
