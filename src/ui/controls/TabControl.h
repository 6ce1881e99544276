#pragma once
// Tab pages on the dark theme. Page titles are English sources shown
// translated, and follow a language switch (retranslate). Being a
// QTabWidget it has Ctrl+Tab and the arrow keys on the tabs, and assistive
// technology sees a page tab list.

#include <QStringList>
#include <QTabWidget>

namespace k4812 {

class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Adds a page with an English title; returns its index.
    int addPage(QWidget* page, const QString& englishTitle);
    void retranslate();
    // The English titles of the pages, in page order.
    const QStringList& sourceTitles() const { return m_sourceTitles; }

private:
    QStringList m_sourceTitles;
};

} // namespace k4812
