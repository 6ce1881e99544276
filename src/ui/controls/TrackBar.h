#pragma once
// A horizontal track bar with minimum, maximum and step. Every value it takes
// is rounded to the nearest multiple of the step and clamped to the range,
// whoever sets it; valueChanged reports every real change, the program's too
// (a page that must not hear its own changes disconnects first). Keys: the
// arrows move one step, PageUp/PageDown a page, Home/End to the ends; the
// wheel moves a step per notch, small touchpad deltas adding up first.
// Assistive technology sees a slider with its value.

#include "ui/controls/WheelAccumulator.h"
#include "ui/skin/SkinImage.h"

#include <QAbstractSlider>

namespace k4812 {

class TrackBar : public QAbstractSlider {
    Q_OBJECT
public:
    explicit TrackBar(QWidget* parent = nullptr);

    // Steps below 1 are taken as 1. The page step becomes a tenth of the
    // range, at least one step, in whole steps.
    void setStep(int step);
    int step() const { return singleStep(); }
    // Rounds to the step and clamps; valueChanged when the value changes.
    void setValue(int value);
    void setRange(int minimum, int maximum);
    // The value setValue(value) would give.
    int roundedValue(int value) const;

    // The skin drawn behind the track ("DPISetting-back.png" ...); the bar
    // takes its size when it has none yet.
    void setBackground(const SkinImage& image);
    const SkinImage& background() const { return m_background; }

    // The value at a point of the track, rounded (for mouse input).
    int valueAt(int x) const;
    // The horizontal centre of the thumb for a value.
    int positionOf(int value) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    QRect trackRect() const;
    void updatePageStep();

    SkinImage m_background;
    WheelAccumulator m_wheel;
    bool m_dragging = false;
};

} // namespace k4812
