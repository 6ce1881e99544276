#pragma once
// A skin image on a window (the warning icon, the light colour swatch, the
// test image of the System Setting page), with an optional rotation
// animation: the image turns once to 360 degrees with an in-out bounce and
// turns back. The duration of each turn can be set, and the animation can be
// driven to any time, so tests need no waiting. Assistive technology sees a
// graphic with the name its user gives it.

#include "ui/skin/SkinImage.h"

#include <QSequentialAnimationGroup>
#include <QVariantAnimation>
#include <QWidget>

namespace k4812 {

class ImageView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultTurnMs = 1200;

    explicit ImageView(QWidget* parent = nullptr);

    // Takes the image's size when the view has none yet.
    void setImage(const SkinImage& image);
    const SkinImage& image() const { return m_image; }

    void setTurnDuration(int milliseconds);
    int turnDuration() const { return m_turnForth->duration(); }
    void startRotation();
    bool isRotating() const { return m_rotation.state() == QAbstractAnimation::Running; }
    // The turn there and back, for driving it by hand.
    QAbstractAnimation* rotation() { return &m_rotation; }
    qreal angle() const { return m_angle; }

    QSize sizeHint() const override;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SkinImage m_image;
    QSequentialAnimationGroup m_rotation;
    QVariantAnimation* m_turnForth;
    QVariantAnimation* m_turnBack;
    qreal m_angle = 0;
};

} // namespace k4812
