#include "ui/controls/ImageView.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/dialogs/MessagePrompter.h"
#include "ui/skin/ImageDataBase.h"

#include "FakeMessagePrompter.h"
#include "UiTestSupport.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
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
    dialog.setTexts(QStringLiteral("Reset This Profile"),
                     QStringLiteral("Are you sure you want to reset this profile ?"),
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

// A storage error names the whole path of the file; the dialog shows all of
// it, wrapped inside the path where it has no spaces, and grows to fit.
TEST_F(MessageDialogTest, LongTextsWrapAndTheDialogGrowsToShowThemWhole)
{
    const QString longPath = QStringLiteral("/home/someone/Documents/GamingMouseProfiles/") + QString(90, QLatin1Char('p'))
                             + QStringLiteral("/Short_Game_Profile.pfd");
    const QString sentence = QStringLiteral("The profile could not be stored because the settings database is locked "
                                            "by another program; close it and try again, or save elsewhere.");
    struct Case {
        const char* what;
        QString text;
        QString second;
        bool grows;
    };
    const Case cases[] = {
        {"short texts", QStringLiteral("Are you sure you want to reset this profile ?"),
         QStringLiteral("Reset the current profile back to factory setting."), false},
        {"a path without spaces", QStringLiteral("Not every profile could be saved."), longPath, true},
        {"a long sentence", QStringLiteral("Warning"), sentence + QLatin1Char(' ') + sentence, true},
        {"both long", sentence, longPath, true},
    };
    for (const Case& c : cases) {
        TFrmMessageDialog dialog;
        dialog.setTexts(QStringLiteral("Warning"), c.text, c.second);
        EXPECT_EQ(dialog.width(), 458) << c.what;
        EXPECT_EQ(dialog.height() > 246, c.grows) << c.what << ": " << dialog.height();
        EXPECT_EQ(dialog.LabelText1->text(), c.second) << c.what << ": shown as given";
        for (const SkinLabel* label : {dialog.LabelText, dialog.LabelText1}) {
            // Each line holds at most the label's width, so the text needs at least this many lines.
            const QFontMetrics metrics(label->font());
            const int lines = int(std::ceil(metrics.horizontalAdvance(label->text()) / double(label->width())));
            EXPECT_GE(label->height(), lines * metrics.height()) << c.what << ": " << label->objectName().toStdString();
            EXPECT_LE(label->geometry().right(), dialog.width()) << c.what;
        }
        EXPECT_LE(dialog.LabelText->geometry().bottom(), dialog.LabelText1->geometry().top()) << c.what;
        EXPECT_LT(dialog.LabelText1->geometry().bottom(), dialog.BTNOK->geometry().top()) << c.what;
        EXPECT_EQ(dialog.BTNCANCEL->geometry().top(), dialog.BTNOK->geometry().top()) << c.what;
        EXPECT_LE(dialog.BTNOK->geometry().bottom(), dialog.height()) << c.what;
    }
}

TEST_F(MessageDialogTest, FakeAnswersInOrderAndRecordsTheQuestions)
{
    test::FakeMessagePrompter prompter;
    prompter.answer(1);
    prompter.answer(2);
    const QString title = QStringLiteral("No Device Found!");
    const QString text = QStringLiteral("Please connect your mouse device!");
    EXPECT_EQ(ShowMessageDialog(title, text), 1);
    const QString question = QStringLiteral("Are your sure you want to delete this macro?");
    EXPECT_EQ(ShowMessageDialog(QStringLiteral("Delete"), question), 2);
    ASSERT_EQ(prompter.asked().size(), 2);
    EXPECT_EQ(prompter.asked()[0],
              (MessagePrompt{title, text, {}}));
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
