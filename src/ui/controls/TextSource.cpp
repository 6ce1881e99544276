#include "ui/controls/TextSource.h"

#include "i18n/Translation.h"
#include "ui/controls/TabControl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace k4812 {
namespace {

constexpr const char* kTextProperty = "k4812SourceText";
constexpr const char* kNameProperty = "k4812SourceAccessibleName";
constexpr const char* kToolTipProperty = "k4812SourceToolTip";
constexpr const char* kDescriptionProperty = "k4812SourceAccessibleDescription";
constexpr const char* kEnglishFontProperty = "k4812EnglishFont";
constexpr const char* kOtherFontProperty = "k4812OtherLanguageFont";

void showText(QWidget* widget, const QString& shown)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(shown);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(shown);
    else
        widget->setWindowTitle(shown);
}

void retranslateOne(QWidget* widget)
{
    const QVariant text = widget->property(kTextProperty);
    if (text.isValid())
        showText(widget, translate(text.toString()));
    const QVariant name = widget->property(kNameProperty);
    if (name.isValid())
        widget->setAccessibleName(translate(name.toString()));
    const QVariant tip = widget->property(kToolTipProperty);
    if (tip.isValid())
        widget->setToolTip(translate(tip.toString()));
    const QVariant description = widget->property(kDescriptionProperty);
    if (description.isValid())
        widget->setAccessibleDescription(translate(description.toString()));
    if (auto* tabs = qobject_cast<TabControl*>(widget))
        tabs->retranslate();
}

} // namespace

void setSourceText(QWidget* widget, const QString& english)
{
    widget->setProperty(kTextProperty, english);
    showText(widget, translate(english));
}

void setSourceAccessibleName(QWidget* widget, const QString& english)
{
    widget->setProperty(kNameProperty, english);
    widget->setAccessibleName(translate(english));
}

void setSourceToolTip(QWidget* widget, const QString& english)
{
    widget->setProperty(kToolTipProperty, english);
    widget->setToolTip(translate(english));
}

void setSourceAccessibleDescription(QWidget* widget, const QString& english)
{
    widget->setProperty(kDescriptionProperty, english);
    widget->setAccessibleDescription(translate(english));
}

void setLanguageFonts(QWidget* widget, const QFont& english, const QFont& other)
{
    widget->setProperty(kEnglishFontProperty, english);
    widget->setProperty(kOtherFontProperty, other);
}

void applyLanguageFont(QWidget* widget, const QString& shortId)
{
    const QFont font = languageFont(widget, shortId);
    if (font != widget->font())
        widget->setFont(font);
}

QFont languageFont(const QWidget* widget, const QString& shortId)
{
    const QVariant font =
        widget->property(shortId == QLatin1String("0409") ? kEnglishFontProperty : kOtherFontProperty);
    return font.isValid() ? font.value<QFont>() : widget->font();
}

QString sourceText(const QWidget* widget)
{
    return widget->property(kTextProperty).toString();
}

QString sourceAccessibleName(const QWidget* widget)
{
    return widget->property(kNameProperty).toString();
}

void retranslateTexts(QWidget* root)
{
    retranslateOne(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children)
        retranslateOne(child);
}

} // namespace k4812
