#pragma once
// A borderless top-level window drawn from a skin background image, moved by
// dragging its top bar (TopBarDragger). The background sets the window's
// size; without one the window is filled with the theme's colour.

#include "ui/skin/SkinImage.h"
#include "ui/windows/TopBarDragger.h"

#include <QWidget>

namespace k4812 {

class SkinWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinWindow(QWidget* parent = nullptr, int topBarHeight = 80);

    void setBackground(const SkinImage& image);
    const SkinImage& background() const { return m_background; }
    TopBarDragger& dragger() { return *m_dragger; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SkinImage m_background;
    TopBarDragger* m_dragger;
};

// Paints a window's skin background, or the theme's colour without one.
// Where the skin's rounded corners are transparent, a window without alpha
// would show its palette's light colour: it gets the theme's colour there.
// Only what meets `exposed` needs painting (all of it when not given).
void paintSkinBackground(QWidget& window, const SkinImage& background, const QRect& exposed = {});
// Lets the skin's rounded corners be see-through where the platform always
// composites windows with alpha (Wayland); elsewhere they stay opaque.
void useSkinCorners(QWidget& window);

} // namespace k4812
