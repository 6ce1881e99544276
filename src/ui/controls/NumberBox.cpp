#include "ui/controls/NumberBox.h"

#include "ui/controls/SkinAccessibility.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace k4812 {

NumberBox::NumberBox(QWidget* parent) : QAbstractSpinBox(parent)
{
    installSkinAccessibility();
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAlignment(Qt::AlignCenter);
    setFrame(false);
    setFont(uiFont(9));
    setAttribute(Qt::WA_Hover);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, theme::controlBack());
    palette.setColor(QPalette::Text, theme::text());
    palette.setColor(QPalette::Highlight, theme::accent());
    palette.setColor(QPalette::HighlightedText, theme::barBack());
    setPalette(palette);
    lineEdit()->setPalette(palette);
    connect(this, &QAbstractSpinBox::editingFinished, this, &NumberBox::commitTyped);
    showValue();
}

void NumberBox::setValue(int value)
{
    m_value = qBound(m_minimum, value, m_maximum);
    showValue();
}

void NumberBox::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    setValue(m_value);
}

void NumberBox::setStep(int step)
{
    m_step = qMax(1, step);
}

void NumberBox::showValue()
{
    const QString shown = QString::number(m_value);
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}

void NumberBox::setUserValue(int value)
{
    const int bounded = qBound(m_minimum, value, m_maximum);
    const bool changed = bounded != m_value;
    m_value = bounded;
    showValue(); // also puts back the shown value after a typed one out of range
    if (!changed)
        return;
    emit valueChanged(m_value);
}

void NumberBox::stepBy(int steps)
{
    const long long target = (long long)m_value + (long long)steps * m_step;
    const long long bounded = std::clamp<long long>(target, m_minimum, m_maximum);
    setUserValue(int(bounded));
    selectAll();
}

void NumberBox::commitTyped()
{
    bool ok = false;
    const int typed = lineEdit()->text().trimmed().toInt(&ok);
    if (ok)
        setUserValue(typed);
    else
        showValue();
}

QValidator::State NumberBox::validate(QString& input, int&) const
{
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
        return QValidator::Intermediate;
    bool ok = false;
    const qlonglong typed = text.toLongLong(&ok);
    if (!ok)
        return QValidator::Invalid;
    if (typed > m_maximum && typed > 0)
        return QValidator::Invalid;
    if (typed < m_minimum || typed > m_maximum)
        return QValidator::Intermediate; // on its way to a value in range
    return QValidator::Acceptable;
}

void NumberBox::fixup(QString& input) const
{
    bool ok = false;
    const qlonglong typed = input.trimmed().toLongLong(&ok);
    input = QString::number(ok ? std::clamp<long long>(typed, m_minimum, m_maximum) : m_value);
}

void NumberBox::clear()
{
    showValue(); // a number box always shows a number
}

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (m_value < m_maximum)
        enabled |= StepUpEnabled;
    if (m_value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void NumberBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QAbstractSpinBox::mousePressEvent(event);
}

void NumberBox::wheelEvent(QWheelEvent* event)
{
    if (!isEnabled() || isReadOnly()) {
        event->ignore();
        return;
    }
    const int steps = m_wheel.add(event->angleDelta().y());
    if (steps != 0)
        stepBy(steps);
    event->accept();
}

void NumberBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(hasFocus() ? theme::accent() : theme::controlEdge());
    painter.setBrush(isEnabled() ? theme::controlBack() : theme::controlPressed());
    painter.drawRoundedRect(box, 3, 3);
}

void NumberBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        QPalette palette = lineEdit()->palette();
        palette.setColor(QPalette::Text, isEnabled() ? theme::text() : theme::textDisabled());
        lineEdit()->setPalette(palette);
    }
    QAbstractSpinBox::changeEvent(event);
}

} // namespace k4812
