#include "ui/controls/BusyIndicator.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/TrackBar.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace k4812 {
namespace {

struct RoleCase {
    const char* what;
    std::function<QWidget*(QWidget*)> make;
    QAccessible::Role role;
    const char* name;
};

// Every control shows assistive technology a role and a name: its caption,
// or the short name its user gave it.
TEST(AccessibilityTest, EveryControlHasItsRoleAndAName)
{
    QWidget window;
    const RoleCase cases[] = {
        {"captioned button", [](QWidget* p) { auto* b = new SkinButton(p); b->setText("&Apply"); return b; },
         QAccessible::Button, "Apply"},
        {"image-only button",
         [](QWidget* p) { auto* b = new SkinButton(p); setSourceAccessibleName(b, "Minimise"); return b; },
         QAccessible::Button, "Minimise"},
        {"check box", [](QWidget* p) { auto* b = new CheckBox(p); b->setText("Accelaration"); return b; },
         QAccessible::CheckBox, "Accelaration"},
        {"radio button", [](QWidget* p) { auto* b = new RadioButton(p); b->setText("500Hz"); return b; },
         QAccessible::RadioButton, "500Hz"},
        {"number box",
         [](QWidget* p) { auto* b = new NumberBox(p); setSourceAccessibleName(b, "Level 1 X-Axis"); return b; },
         QAccessible::SpinBox, "Level 1 X-Axis"},
        {"track bar",
         [](QWidget* p) { auto* b = new TrackBar(p); setSourceAccessibleName(b, "Pointer Speed"); return b; },
         QAccessible::Slider, "Pointer Speed"},
        {"label", [](QWidget* p) { auto* l = new SkinLabel(p); l->setText("CPI Level:"); return l; },
         QAccessible::StaticText, "CPI Level:"},
        {"image", [](QWidget* p) { auto* i = new ImageView(p); setSourceAccessibleName(i, "Test area"); return i; },
         QAccessible::Graphic, "Test area"},
        {"busy indicator",
         [](QWidget* p) { auto* i = new BusyIndicator(p); setSourceAccessibleName(i, "Applying"); return i; },
         QAccessible::ProgressBar, "Applying"},
        {"list", [](QWidget* p) { auto* l = new ListBox(p); setSourceAccessibleName(l, "Macro Name:"); return l; },
         QAccessible::List, "Macro Name:"},
        {"text box",
         [](QWidget* p) { auto* t = new TextBox(p); setSourceAccessibleName(t, "New macro name:"); return t; },
         QAccessible::EditableText, "New macro name:"},
    };
    for (const RoleCase& c : cases) {
        QWidget* widget = c.make(&window);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(iface, nullptr) << c.what;
        EXPECT_EQ(iface->role(), c.role) << c.what;
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.what;
    }
}

TEST(AccessibilityTest, StayingPressedButtonShowsItsStateAndToggles)
{
    SkinButton button;
    button.setText(QStringLiteral("PROFILE1"));
    button.setStaysPressed(true);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&button);
    ASSERT_NE(iface, nullptr);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(button.isChecked());
    EXPECT_TRUE(iface->state().checked);
}

TEST(AccessibilityTest, PressActionClicksAnEnabledButtonOnly)
{
    SkinButton button;
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(&button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    button.setEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(actions->actionNames().isEmpty());
    EXPECT_EQ(clicked.count(), 1);
}

// A click may run a modal dialog (a question, the macro manager); the caller
// of the action, a screen reader over D-Bus, must get its answer before that.
TEST(AccessibilityTest, PressActionAnswersBeforeTheClickRuns)
{
    SkinButton button;
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(&button)->actionInterface();
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicked.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 1);

    // Disabled while the click waits: nothing happens.
    actions->doAction(QAccessibleActionInterface::pressAction());
    button.setEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked.count(), 1);
}

TEST(AccessibilityTest, NumberBoxExposesItsValue)
{
    NumberBox box;
    box.setRange(1, 4);
    box.setValue(3);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(iface, nullptr);
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 3);
    EXPECT_EQ(iface->valueInterface()->maximumValue().toInt(), 4);
}

// A value set by assistive technology is the user's edit: it must reach the
// page, which hears the box only through valueChanged.
TEST(AccessibilityTest, NumberBoxValueSetByAssistiveTechnologyIsReported)
{
    NumberBox box;
    box.setRange(100, 3500);
    box.setValue(800);
    QSignalSpy changes(&box, &NumberBox::valueChanged);
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(&box)->valueInterface();
    ASSERT_NE(value, nullptr);
    value->setCurrentValue(1600);
    value->setCurrentValue(99999);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 1600);
    EXPECT_EQ(box.value(), 3500);
    box.setReadOnly(true);
    value->setCurrentValue(200);
    EXPECT_EQ(box.value(), 3500);
}

TEST(AccessibilityTest, BusyIndicatorIsBusyWhileRunning)
{
    BusyIndicator indicator;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&indicator);
    ASSERT_NE(iface, nullptr);
    EXPECT_FALSE(iface->state().busy);
    indicator.start();
    EXPECT_TRUE(iface->state().busy);
}

} // namespace
} // namespace k4812
