#pragma once
// A caption on the skin: transparent, in the theme's text colour and the
// program's font. Accessibility and buddies as for any QLabel.

#include <QLabel>

namespace k4812 {

class SkinLabel : public QLabel {
    Q_OBJECT
public:
    explicit SkinLabel(QWidget* parent = nullptr);
    // Point size and weight of the program's font.
    void setFontSize(qreal pointSize, bool bold = false);
    void setTextColor(const QColor& color);
};

} // namespace k4812
