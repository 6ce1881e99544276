#pragma once
// A caption that wraps at word boundaries and, where one word is wider than
// the label (a file path), inside the word, so no part of the text is ever
// cut off at the side. heightForWidth() tells its owner how tall the whole
// text is at a width, so a dialog can grow to show it.

#include "ui/controls/SkinLabel.h"

class QTextLayout;

namespace k4812 {

class WrappingLabel : public SkinLabel {
    Q_OBJECT
public:
    explicit WrappingLabel(QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    // The height of the whole text laid out at `width` (0 for no text).
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Lays the text out at `width`; returns its height.
    qreal layOut(QTextLayout& layout, int width) const;
};

} // namespace k4812
