// The button column inside the real window, with the real dialogs and the
// built hook library: keys typed into a dialog end up in the emulated
// mouse's button block after Apply.

#include "app/buttons/ButtonAssignmentPanel.h"
#include "wire/DeviceDecoding.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/TextBox.h"
#include "ui/menu/MenuPopup.h"
#include "ui/menu/MenuRow.h"
#include "ui/menu/TuiMenuEx.h"

#include "MainWindowFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace k4812;

namespace {

class ButtonColumnWindowTest : public test::MainWindowFixture {
protected:
    static void clickRow(MenuPopup* popup, int row)
    {
        const QPoint pos = popup->rows()[std::size_t(row)]->geometry().center();
        for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, QPointF(pos), QPointF(popup->mapToGlobal(pos)), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(popup, &event);
        }
    }

    // Opens the entry's menu, chooses the top-level item `row`, and types
    // into the dialog that opens with `type` before pressing OK.
    void chooseWithDialog(const char* entry, int row, const std::function<void(QWindow* window)>& type)
    {
        QTimer::singleShot(0, [type] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            QWidget* box = dialog->findChild<TextBox*>();
            ASSERT_NE(box, nullptr) << dialog->objectName().toStdString() << " " << dialog->metaObject()->className();
            // Through the window, as the display server delivers keys.
            type(dialog->windowHandle());
            dialog->findChild<SkinButton*>(QStringLiteral("BtnOK"))->click();
        });
        control(entry)->click();
        const std::vector<MenuPopup*> popups = window->buttonAssignment().uiMenuEx1().openPopups();
        ASSERT_EQ(popups.size(), 1u);
        clickRow(popups[0], row);
    }

    const DecodedButton* buttonOfEntry(const std::vector<DecodedButton>& buttons, int windowEntry)
    {
        for (const DecodedButton& b : buttons) {
            if (b.windowEntry == windowEntry)
                return &b;
        }
        return nullptr;
    }
};

TEST_F(ButtonColumnWindowTest, KeysTypedIntoTheDialogsReachTheMouseOnApply)
{
    open();
    ASSERT_TRUE(started);

    chooseWithDialog("BtnSet4", 5, [](QWindow* w) { QTest::keyClick(w, Qt::Key_F5); });
    EXPECT_EQ(control("BtnSet4")->text(), QStringLiteral("4.<F5>"));
    EXPECT_TRUE(window->state().SettingsChanged);

    chooseWithDialog("BtnSet5", 6, [](QWindow* w) {
        QTest::keyPress(w, Qt::Key_Control);
        QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
        QTest::keyRelease(w, Qt::Key_Control);
    });
    EXPECT_EQ(control("BtnSet5")->text(), QStringLiteral("5.Ctrl+C"));

    window->BSBTNAPPLYClick();
    const DecodedBank bank = DecodeBank(emulator->mouse().state().memory, 0);
    const DecodedButton* four = buttonOfEntry(bank.buttons, 4);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(four->code, 0x10);
    EXPECT_EQ(four->key1.usage, 0x3E) << "F5";
    const DecodedButton* five = buttonOfEntry(bank.buttons, 5);
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->code, 0x0F);
    EXPECT_EQ(five->modifierBits, 2);
    EXPECT_EQ(five->key1.usage, 0x06) << "C";
    EXPECT_EQ(five->key2.usage, 0);
}

} // namespace
