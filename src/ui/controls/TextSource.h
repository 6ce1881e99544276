#pragma once
// Shown texts that follow the interface language. A control remembers the
// English source of its caption and of its accessible name and shows their
// translation; after a language switch retranslateTexts() translates every
// remembered source again. Translating from the source, not from the shown
// text, is what keeps a switch from one translation to another correct.

#include <QFont>
#include <QString>

class QWidget;

namespace k4812 {

// Shows translate(english) as the widget's caption: a button's or label's
// text, a tab control's is left alone, any other widget's window title.
void setSourceText(QWidget* widget, const QString& english);
// Gives the widget the accessible name translate(english): for image-only
// controls and unlabelled boxes ("Help", "Close", "Level 1 X-Axis").
void setSourceAccessibleName(QWidget* widget, const QString& english);
// The same for the tool tip.
void setSourceToolTip(QWidget* widget, const QString& english);
// The same for the accessible description (what a screen reader reads after
// the name, e.g. why a control is disabled).
void setSourceAccessibleDescription(QWidget* widget, const QString& english);

// A font that follows the interface language: `english` in language
// "0409", `other` in every other one (Chinese texts need a larger size to be
// read). applyLanguageFont() gives the widget the one for `shortId`.
void setLanguageFonts(QWidget* widget, const QFont& english, const QFont& other);
void applyLanguageFont(QWidget* widget, const QString& shortId);
// The font the widget shows its text in under language `shortId`.
QFont languageFont(const QWidget* widget, const QString& shortId);

// The remembered sources; empty when none was set.
QString sourceText(const QWidget* widget);
QString sourceAccessibleName(const QWidget* widget);

// Translates the remembered sources of `root` and every widget below it
// again, tab titles included.
void retranslateTexts(QWidget* root);

} // namespace k4812
