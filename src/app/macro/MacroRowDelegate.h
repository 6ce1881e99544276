#pragma once
// How the macro manager's two lists draw their rows: the macro list a name
// with the error icon of a macro whose actions do not pair up; the action
// list three columns (press or release icon, key name, delay).

#include "app/macro/ActionRows.h"
#include "ui/skin/SkinImage.h"

#include <QListWidgetItem>
#include <QStyledItemDelegate>

namespace k4812 {

// Item data of the rows.
constexpr int kRowKindRole = Qt::UserRole;          // ActionRow::Kind as int
constexpr int kRowActionRole = Qt::UserRole + 1;    // the action's index, -1 while recording
constexpr int kRowErrorIconRole = Qt::UserRole + 2; // macro rows: the "ErrorIcon" is shown

// A list item for an action row, carrying the roles above.
QListWidgetItem* makeActionItem(const ActionRow& row);

class MacroRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum class List { Macros, Actions };
    // Where the action list's columns start, shared with their titles.
    static constexpr int kStatusColumn = 8;
    static constexpr int kButtonColumn = 64;
    static constexpr int kElapsedColumn = 210;
    static constexpr int kRowHeight = 22;

    MacroRowDelegate(List list, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    List m_list;
    SkinImage m_errorIcon;
    SkinImage m_keyDown;
    SkinImage m_keyUp;
};

} // namespace k4812
