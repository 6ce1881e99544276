#include "ui/controls/ImageView.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/dialogs/MessagePrompter.h"
#include "ui/skin/ImageDataBase.h"

#include "FakeMessagePrompter.h"
#include "UiTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace k4812 {
namespace {

class MessageDialogTest : public testing::Test {
protected:
    void SetUp() override { imageDataBase().SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409")); }
};

// Runs `act` on the dialog once it is shown modally, and returns what
// ShowMessageDialog gave.
int answerRealDialog(const std::function<void(TFrmMessageDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<TFrmMessageDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
    return ShowMessageDialog(QStringLiteral("Warning"),
                             QStringLiteral("The settings was changed, save the current setting anyway?"));
}

TEST_F(MessageDialogTest, ResultsOfItsButtonsAndKeys)
{
    struct Case {
        const char* what;
        std::function<void(TFrmMessageDialog&)> act;
        int result;
    };
    const Case cases[] = {
        {"OK", [](TFrmMessageDialog& d) { QTest::mouseClick(d.BTNOK, Qt::LeftButton); }, 1},
        {"CANCEL", [](TFrmMessageDialog& d) { QTest::mouseClick(d.BTNCANCEL, Qt::LeftButton); }, 2},
        {"close button", [](TFrmMessageDialog& d) { QTest::mouseClick(d.BTNCLOSE, Qt::LeftButton); }, 2},
        {"Enter on OK", [](TFrmMessageDialog& d) { QTest::keyClick(d.BTNOK, Qt::Key_Return); }, 1},
        {"Escape", [](TFrmMessageDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
        {"closed by the window system", [](TFrmMessageDialog& d) { d.close(); }, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(answerRealDialog(c.act), c.result) << c.what;
}

TEST_F(MessageDialogTest, ShowsTheTextsAsGivenOnItsSkin)
{
    TFrmMessageDialog dialog;
    dialog.setTexts(QStringLiteral("Reset This Profile"), QStringLiteral("Are you sure you want to reset this profile ?"),
                    QStringLiteral("Reset the current profile back to factory setting."));
    EXPECT_EQ(dialog.size(), QSize(458, 246));
    EXPECT_EQ(dialog.LabelTitle->text(), QStringLiteral("Reset This Profile"));
    EXPECT_EQ(dialog.LabelText->text(), QStringLiteral("Are you sure you want to reset this profile ?"));
    EXPECT_EQ(dialog.LabelText1->text(), QStringLiteral("Reset the current profile back to factory setting."));
    EXPECT_EQ(dialog.IMGWARNING->geometry(), QRect(34, 82, 80, 80));
    EXPECT_EQ(dialog.BTNCLOSE->geometry(), QRect(458 - 35 - 6, 6, 35, 35));
    EXPECT_FALSE(dialog.background().isNull()) << "the generated skin is found";
    EXPECT_EQ(dialog.BTNOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.BTNCANCEL->text(), QStringLiteral("CANCEL"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.BTNCLOSE)->text(QAccessible::Name), QStringLiteral("Close"));
    EXPECT_EQ(dialog.findChild<SkinButton*>(QStringLiteral("BTNOK")), dialog.BTNOK);
}

TEST_F(MessageDialogTest, FakeAnswersInOrderAndRecordsTheQuestions)
{
    test::FakeMessagePrompter prompter;
    prompter.answer(1);
    prompter.answer(2);
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("No Device Found!"), QStringLiteral("Please connect your mouse device!")),
              1);
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Delete"), QStringLiteral("Are your sure you want to delete this macro?"),
                                QString()),
              2);
    ASSERT_EQ(prompter.asked().size(), 2);
    EXPECT_EQ(prompter.asked()[0],
              (MessagePrompt{QStringLiteral("No Device Found!"), QStringLiteral("Please connect your mouse device!"), {}}));
    EXPECT_EQ(prompter.asked()[1].title, QStringLiteral("Delete"));
}

TEST_F(MessageDialogTest, QueuedPrompterCountsQuestionsWithoutAnswers)
{
    QueuedMessagePrompter prompter;
    ScopedMessagePrompter scope(prompter);
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Warning"), QStringLiteral("?")), 2) << "unanswered: Cancel";
    EXPECT_EQ(prompter.unexpected(), 1);
    prompter.answer(1);
    EXPECT_EQ(prompter.answersLeft(), 1);
}

} // namespace
} // namespace k4812
