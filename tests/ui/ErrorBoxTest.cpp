// The error box as the user sees it.

#include "ui/dialogs/ErrorBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

TEST(ErrorBox, IsTheCaptionAndTextWithTheErrorIconAndOkOnly)
{
    QWidget owner;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no box open";
        seen = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
        EXPECT_EQ(box->text(), QStringLiteral("libuiHook.so can not be found!"));
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(box->parentWidget(), &owner);
        box->button(QMessageBox::Ok)->click();
    });
    ShowErrorBox(QStringLiteral("Error"), QStringLiteral("libuiHook.so can not be found!"), &owner);
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace k4812
