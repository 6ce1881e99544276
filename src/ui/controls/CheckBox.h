#pragma once
// A check box: a box image (ticked or not) from the skin, or a drawn box, and
// its caption. toggled() reports every change of the tick, the program's
// (setChecked) too. Space toggles it; assistive technology sees a check box.

#include "ui/skin/SkinImage.h"

#include <QAbstractButton>

namespace k4812 {

class CheckBox : public QAbstractButton {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr);

    void setBoxImages(const SkinImage& unchecked, const SkinImage& checked);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    // The box: a round one for radio buttons.
    virtual void paintFallbackBox(QPainter& painter, const QRectF& box) const;
    int boxSize() const;

private:
    SkinImage m_unchecked;
    SkinImage m_checked;
};

} // namespace k4812
