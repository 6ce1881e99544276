#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "platform/storage/IniFile.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/dialogs/HelpLinks.h"
#include "ui/skin/ImageDataBase.h"

#include "FakeMessagePrompter.h"
#include "QtEventLoop.h"
#include "ui/controls/GlyphWarmer.h"

#include <QComboBox>
#include <QLabel>

#include <array>
#include <functional>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

class FakeHelpHost : public HelpDialogHost {
public:
    int currentLanguage() const override { return stored; }
    QString storeCurrentLanguage(int index) override
    {
        if (duringStore)
            duringStore();
        stored = index;
        ++saves;
        return storeError;
    }
    void announceLanguageChanged() override { ++announcements; }
    void openLink(const QUrl& url) override { opened.append(url); }

    int stored = 0;
    int saves = 0;
    int announcements = 0;
    QString storeError;
    QList<QUrl> opened;
    // Runs where the program's store lets the windows repaint.
    std::function<void()> duringStore;
};

// Three languages: English, German and French stand-ins.
LanguageFile threeLanguages()
{
    LanguageFile file;
    file.original = {QStringLiteral("OK"), QStringLiteral("INFO"), QStringLiteral("Version Number 1.0.0.0")};
    file.resources = {
        {QStringLiteral("0409"), {QStringLiteral("OK=OK"), QStringLiteral("INFO=INFO")}},
        {QStringLiteral("0407"), {QStringLiteral("OK=Gut"), QStringLiteral("INFO=Auskunft"),
                                  QStringLiteral("Version Number 1.0.0.0=Versionsnummer 1.0.0.0")}},
        {QStringLiteral("040c"), {QStringLiteral("OK=D'accord"), QStringLiteral("INFO=Infos")}},
    };
    return file;
}

class HelpDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        imageDataBase().SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409"));
        language.setLanguages(threeLanguages());
        language.SetLang(QStringLiteral("0409"));
    }
    void TearDown() override { clearActiveTranslation(); }

    QList<HelpLink> links(const char* ini) { return helpLinksFrom(IniFile::fromBytes(QByteArray(ini))); }

    TuiLanguage language;
    FakeHelpHost host;
};

TEST_F(HelpDialogTest, ShowsTheVersionAndTheStoredLanguage)
{
    host.stored = 1;
    THelpForm dialog(language, host, links(""));
    EXPECT_EQ(dialog.size(), QSize(446, 446));
    EXPECT_EQ(language.LanguageName(), QStringLiteral("0407")) << "the stored language becomes the active one";
    EXPECT_EQ(dialog.PopBoxLanguage->count(), 3);
    EXPECT_EQ(dialog.PopBoxLanguage->currentIndex(), 1);
    EXPECT_EQ(dialog.LabelTitle->text(), QStringLiteral("Auskunft"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Versionsnummer " K4812_VERSION));
    EXPECT_FALSE(dialog.LabelLegal2->text().isEmpty());
    EXPECT_EQ(host.saves, 0);
    EXPECT_EQ(host.announcements, 0);
}

TEST_F(HelpDialogTest, AStoredLanguageOutOfRangeSelectsTheFirst)
{
    for (int stored : {7, 3, -1}) {
        host.stored = stored;
        THelpForm dialog(language, host, links(""));
        EXPECT_EQ(dialog.PopBoxLanguage->currentIndex(), 0) << stored;
    }
}

TEST_F(HelpDialogTest, ChoosingALanguageSwitchesStoresAndAnnouncesIt)
{
    THelpForm dialog(language, host, links(""));
    dialog.PopBoxLanguage->setCurrentIndex(2);
    dialog.PopBoxLanguageChange(2);
    EXPECT_EQ(language.LanguageName(), QStringLiteral("040c"));
    EXPECT_EQ(host.stored, 2);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.announcements, 1);
    EXPECT_EQ(dialog.BTNOK->text(), QStringLiteral("D'accord")) << "the dialog follows at once";
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Version Number " K4812_VERSION));
}

// The store waits with the event loop running, so the windows repaint during
// it: the dialog must show the new language by then, as the main window does.
TEST_F(HelpDialogTest, TheDialogIsInTheNewLanguageBeforeTheStore)
{
    THelpForm dialog(language, host, links(""));
    QString okDuringStore;
    host.duringStore = [&] { okDuringStore = dialog.BTNOK->text(); };
    dialog.PopBoxLanguageChange(2);
    EXPECT_EQ(okDuringStore, QStringLiteral("D'accord"));
}

// Opening the dialog prepares the fonts of the languages the user may pick,
// from the event loop, before any pick.
TEST_F(HelpDialogTest, OpeningPreparesTheOtherLanguagesTexts)
{
    THelpForm dialog(language, host, links(""));
    dialog.show();
    const QFont font = dialog.BTNOK->font();
    EXPECT_TRUE(test::runEventsUntil([&] {
        return GlyphWarmer::prepared(font, QStringLiteral("Gut")) && GlyphWarmer::prepared(font, QStringLiteral("D'accord"));
    }));
    EXPECT_EQ(language.LanguageName(), QStringLiteral("0409")) << "preparing switches nothing";
    EXPECT_EQ(dialog.BTNOK->text(), QStringLiteral("OK"));
}

TEST_F(HelpDialogTest, AStoreFailureIsShown)
{
    host.storeError = QStringLiteral("The disk is full.");
    test::FakeMessagePrompter prompter;
    prompter.answer(1);
    THelpForm dialog(language, host, links(""));
    dialog.PopBoxLanguageChange(1);
    ASSERT_EQ(prompter.asked().size(), 1);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("The disk is full."));
    EXPECT_EQ(language.LanguageName(), QStringLiteral("0407")) << "the language still switched for this run";
}

TEST_F(HelpDialogTest, LinksShowOnlyInTheV2EditionAndOnlyWithAnAddress)
{
    struct Case {
        const char* ini;
        std::array<bool, 4> shown;
    };
    const Case cases[] = {
        {"", {false, false, false, false}},
        {"[specialversion]\nWebSiteURL=https://example.org/\n", {false, false, false, false}},
        {"[specialversion]\nVERSION=V1\nWebSiteURL=https://example.org/\n", {false, false, false, false}},
        {"[SPECIALVERSION]\nversion=v2\nWebSiteURL=https://example.org/\nSocialURL2=http://example.net/p\n",
         {true, false, false, true}},
        {"[specialversion]\nVERSION=V2\nWebSiteURL=file:///etc/passwd\nForumURL=javascript:alert(1)\n"
         "SocialURL1=https://\nSocialURL2=  https://example.com/a  \n",
         {false, false, false, true}},
    };
    for (const Case& c : cases) {
        THelpForm dialog(language, host, links(c.ini));
        ASSERT_EQ(dialog.LinkLabels.size(), 4);
        const char* names[] = {"Labelwebsite", "LabelWebSite2", "LabelWebSite3", "LabelWebSite4"};
        for (int i = 0; i < 4; ++i) {
            QLabel* label = dialog.findChild<QLabel*>(QString::fromLatin1(names[i]));
            ASSERT_NE(label, nullptr) << names[i];
            EXPECT_EQ(label->isVisibleTo(&dialog), c.shown[i]) << c.ini << " / " << names[i];
        }
    }
}

TEST_F(HelpDialogTest, ActivatingALinkOpensItsAddress)
{
    THelpForm dialog(language, host, links("[specialversion]\nVERSION=V2\nForumURL=https://example.org/forum\n"));
    QLabel* forum = dialog.LinkLabels[1];
    emit forum->linkActivated(QStringLiteral("https://example.org/forum"));
    ASSERT_EQ(host.opened.size(), 1);
    EXPECT_EQ(host.opened[0], QUrl(QStringLiteral("https://example.org/forum")));
}

TEST_F(HelpDialogTest, OkClosesWithResultOne)
{
    THelpForm dialog(language, host, links(""));
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.BTNOK, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), 1);
}

} // namespace
} // namespace k4812
