#include "app/pages/PageControls.h"

#include "ui/controls/CheckBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/TrackBar.h"

namespace k4812::page {

namespace {

template <typename Control>
Control* captioned(QWidget* parent, const char* name, const char* english, QRect geometry)
{
    auto* control = new Control(parent);
    if (name != nullptr)
        control->setObjectName(QString::fromLatin1(name));
    setSourceText(control, QString::fromLatin1(english));
    control->setGeometry(geometry);
    return control;
}

} // namespace

SkinLabel* label(QWidget* parent, const char* english, QRect geometry)
{
    return captioned<SkinLabel>(parent, nullptr, english, geometry);
}

SkinButton* button(QWidget* parent, const char* name, const char* english, QRect geometry)
{
    return captioned<SkinButton>(parent, name, english, geometry);
}

CheckBox* checkBox(QWidget* parent, const char* name, const char* english, QRect geometry)
{
    return captioned<CheckBox>(parent, name, english, geometry);
}

RadioButton* radio(QWidget* parent, const char* name, const char* english, const char* group, QRect geometry)
{
    auto* r = captioned<RadioButton>(parent, name, english, geometry);
    r->setGroupName(QString::fromLatin1(group));
    return r;
}

TrackBar* track(QWidget* parent, const char* name, const char* accessibleName, int minimum, int maximum, int step,
                QRect geometry)
{
    auto* t = new TrackBar(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setRange(minimum, maximum);
    t->setStep(step);
    t->setGeometry(geometry);
    setSourceAccessibleName(t, QString::fromLatin1(accessibleName));
    return t;
}

} // namespace k4812::page
