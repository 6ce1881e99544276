#pragma once
// A radio button in a named group ("REPORTRATERADIO"): of the radio buttons
// of one window with the same group name, at most one is ticked. Ticking one,
// by the user or by the program, releases the others; toggled() reports
// every change, the program's too. A click on the ticked one keeps it ticked.
// The arrow keys move the tick (and the focus) through the group, in the
// order the buttons were created. Assistive technology sees a radio button.

#include "ui/controls/CheckBox.h"

#include <QList>

namespace k4812 {

class RadioButton : public CheckBox {
    Q_OBJECT
public:
    explicit RadioButton(QWidget* parent = nullptr);

    void setGroupName(const QString& name);
    const QString& groupName() const { return m_groupName; }
    // The radio buttons of this button's window in its group, this one
    // included, in creation order. A button without a group name is alone.
    QList<RadioButton*> group() const;

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintFallbackBox(QPainter& painter, const QRectF& box) const override;

private:
    void releaseOthers();

    QString m_groupName;
};

} // namespace k4812
