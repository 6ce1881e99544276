#pragma once
// A list with selectable rows on the dark theme (the macro lists, the test
// area). Qt's list view gives it keyboard selection and its accessibility.

#include <QListWidget>

namespace k4812 {

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);
};

} // namespace k4812
