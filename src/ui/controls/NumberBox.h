#pragma once
// A whole-number box with minimum, maximum and step. It reports a change
// (valueChanged) only when the user makes it: typing (committed with Enter or
// when the box loses focus), the Up/Down/PageUp/PageDown keys and the wheel.
// A value the program sets with setValue or through a new range is never
// reported, so a page can fill its boxes without running its handlers.
// clicked() reports a mouse press on the box (the CPI boxes select their
// level with it). Assistive technology sees a spin box with its value.

#include "ui/controls/WheelAccumulator.h"

#include <QAbstractSpinBox>

namespace k4812 {

class NumberBox : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue USER true)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int singleStep READ step WRITE setStep)
public:
    explicit NumberBox(QWidget* parent = nullptr);

    int value() const { return m_value; }
    // The program's change: clamped to the range, shown, never reported.
    void setValue(int value);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int step() const { return m_step; }
    void setMinimum(int minimum) { setRange(minimum, qMax(minimum, m_maximum)); }
    void setMaximum(int maximum) { setRange(qMin(m_minimum, maximum), maximum); }
    void setRange(int minimum, int maximum);
    // Steps below 1 are taken as 1.
    void setStep(int step);

    // The user's steps (keys, wheel, accessibility): reported.
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void clear() override;

signals:
    void valueChanged(int value);
    void clicked();

protected:
    StepEnabled stepEnabled() const override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void commitTyped();
    void setUserValue(int value);
    void showValue();

    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 99;
    int m_step = 1;
    WheelAccumulator m_wheel;
};

} // namespace k4812
