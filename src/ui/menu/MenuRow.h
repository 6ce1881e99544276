#pragma once
// One drawn item of an open menu list (TuiMenuBoxItem): its text, the check
// mark, the selected and hovered fills and the sub-menu arrow. The popup
// that holds it takes every mouse event; the row only draws and tells
// assistive technology that it is a menu item.

#include "ui/menu/MenuParams.h"

#include <QWidget>

#include <cstdint>

namespace k4812 {

class MenuRow final : public QWidget {
    Q_OBJECT
public:
    MenuRow(const TMenuParams& params, QWidget* parent);

    void setText(const QString& text);
    const QString& text() const { return m_text; }
    void setIsExtender(bool value);
    bool isExtender() const { return m_isExtender; }
    void setIsChecked(bool value);
    bool isChecked() const { return m_isChecked; }
    // The selected look: a faint fill of the check colour and the check mark.
    void setIsSelected(bool value);
    bool isSelected() const { return m_isSelected; }
    void setHovered(bool value);
    bool isHovered() const { return m_hovered; }

    std::uint32_t itemId = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TMenuParams& m_params;
    QString m_text;
    bool m_isExtender = false;
    bool m_isChecked = false;
    bool m_isSelected = false;
    bool m_hovered = false;
};

} // namespace k4812
