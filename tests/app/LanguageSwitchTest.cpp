// A language switch at run time against a fresh start in that language: the
// window, each of its pages, its menus and the help dialog must look the
// same, pixel for pixel, and every text and accessible name must be the new
// language's.

#include "MainWindowFixture.h"

#include "app/buttons/ButtonAssignmentPanel.h"
#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextSource.h"
#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/menu/MenuPopup.h"
#include "ui/menu/MenuRow.h"
#include "ui/menu/TuiMenuEx.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace k4812::test {
namespace {

// The help dialog's host over the fixture's profile manager and window.
class WindowHelpHost : public HelpDialogHost {
public:
    WindowHelpHost(TDM& dm, TK4812CfgMain& window) : m_dm(dm), m_window(window) {}
    int currentLanguage() const override { return m_dm.FAllProfileSettingInfo().CurrentLanguage; }
    QString storeCurrentLanguage(int index) override
    {
        m_dm.FAllProfileSettingInfo().CurrentLanguage = index;
        return {};
    }
    void announceLanguageChanged() override { m_window.handleWindowMessage(UM_LANGUAGE_CHANGED); }
    void openLink(const QUrl&) override {}

private:
    TDM& m_dm;
    TK4812CfgMain& m_window;
};

// What a user sees: the window with each page in front, and the help dialog.
struct Look {
    QList<QImage> pages;
    QImage help;
};

class LanguageSwitchTest : public MainWindowFixture {
protected:
    ~LanguageSwitchTest() override { clearActiveTranslation(); }

    Look look(THelpForm& help)
    {
        Look seen;
        auto* tabs = control<TabControl>("TabControlMain");
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            seen.pages << window->grab().toImage();
        }
        tabs->setCurrentIndex(0);
        seen.help = help.grab().toImage();
        return seen;
    }

    // Every remembered text and accessible name under `root` shows its translation.
    void expectTranslated(QWidget* root)
    {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets << root;
        for (QWidget* widget : widgets) {
            const QString source = sourceText(widget);
            if (!source.isEmpty()) {
                QString shown = widget->windowTitle();
                if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    shown = button->text();
                else if (auto* label = qobject_cast<QLabel*>(widget))
                    shown = label->text();
                EXPECT_EQ(shown, translate(source)) << widget->objectName().toStdString();
            }
            const QString name = sourceAccessibleName(widget);
            if (!name.isEmpty()) {
                EXPECT_EQ(widget->accessibleName(), translate(name)) << widget->objectName().toStdString();
            }
        }
    }
};

TEST_F(LanguageSwitchTest, ASwitchLooksLikeAFreshStartInThatLanguage)
{
    const struct {
        int from;
        int to;
        const char* sensitivity; // the first page's title, to show the switch happened
    } cases[] = {{0, 1, "灵敏度"}, {1, 2, "靈敏度"}, {2, 0, "Sensitivity"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        dm->FAllProfileSettingInfo().CurrentLanguage = c.from;
        TK4812CfgMain& switched = open();
        ASSERT_TRUE(started);
        WindowHelpHost host(*dm, switched);
        Look atRunTime;
        {
            THelpForm help(switched.uiLanguage1(), host, {}, &switched);
            help.PopBoxLanguage->setCurrentIndex(c.to);
            help.PopBoxLanguageChange(c.to);
            EXPECT_EQ(control<TabControl>("TabControlMain")->tabText(0), QString::fromUtf8(c.sensitivity));
            expectTranslated(&switched);
            expectTranslated(&help);
            atRunTime = look(help);
        }

        // Every menu of the button column opens in the new language.
        for (const char* entry : {"BtnSet1", "BtnSet3", "BtnSet8"}) {
            SCOPED_TRACE(entry);
            QTest::mouseClick(control(entry), Qt::LeftButton);
            ButtonAssignmentPanel& panel = switched.buttonAssignment();
            for (TuiMenuEx* menu : {&panel.uiMenuEx1(), &panel.uiMenuExLRBUTTON(), &panel.uiMenuEx2()}) {
                if (!menu->GetIsMenuOpened())
                    continue;
                MenuPopup* list = menu->openPopups().front();
                ASSERT_EQ(int(list->rows().size()), list->list().Count());
                for (std::size_t row = 0; row < list->rows().size(); ++row) {
                    const QString caption = list->list()[int(row)].Caption;
                    if (!caption.isEmpty()) {
                        EXPECT_EQ(list->rows()[row]->text(), translate(caption));
                    }
                }
                menu->CloseMenu();
            }
        }

        window.reset();
        TK4812CfgMain& fresh = open();
        ASSERT_TRUE(started);
        WindowHelpHost freshHost(*dm, fresh);
        Look atStart;
        {
            THelpForm freshHelp(fresh.uiLanguage1(), freshHost, {}, &fresh);
            atStart = look(freshHelp);
        }
        ASSERT_EQ(atRunTime.pages.size(), atStart.pages.size());
        for (qsizetype page = 0; page < atStart.pages.size(); ++page)
            EXPECT_TRUE(atRunTime.pages[page] == atStart.pages[page]) << "page " << page;
        EXPECT_TRUE(atRunTime.help == atStart.help);
        window.reset();
    }
}

// The profile buttons' larger Chinese font comes with their Chinese texts,
// in the same switch, not with the window's later message.
TEST_F(LanguageSwitchTest, TheProfileFontChangesWithTheTexts)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    EXPECT_EQ(control("BSBTNPROFILE1")->font().pointSizeF(), 10);
    w.uiLanguage1().SetLang(QStringLiteral("0804"));
    EXPECT_EQ(control("BSBTNPROFILE1")->text(), translate(QStringLiteral("PROFILE1")));
    EXPECT_EQ(control("BSBTNPROFILE1")->font().pointSizeF(), 11);
    w.uiLanguage1().SetLang(QStringLiteral("0409"));
    EXPECT_EQ(control("BSBTNPROFILE1")->font().pointSizeF(), 10);
}

} // namespace
} // namespace k4812::test
