#include "i18n/Translation.h"
#include "i18n/TranslationList.h"
#include "ui/controls/GlyphWarmer.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextSource.h"

#include "QtEventLoop.h"

#include <QFont>
#include <QTabBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

// Each test uses texts of its own: what was prepared stays prepared for the process.
class GlyphWarmerTest : public testing::Test {
protected:
    void TearDown() override { clearActiveTranslation(); }

    // A window with a caption, a page title, a composed button text and a
    // button whose font follows the language.
    void build(const QString& tag)
    {
        caption = new SkinLabel(&root);
        setSourceText(caption, QStringLiteral("Caption ") + tag);
        tabs = new TabControl(&root);
        tabs->addPage(new QWidget, QStringLiteral("Title ") + tag);
        composed = new SkinButton(&root);
        composed->setText(QStringLiteral("1.") + translate(QStringLiteral("Click ") + tag));
        sized = new SkinButton(&root);
        setSourceText(sized, QStringLiteral("Profile ") + tag);
        english.setPointSizeF(10);
        other.setPointSizeF(11);
        setLanguageFonts(sized, english, other);
        applyLanguageFont(sized, QStringLiteral("0409"));
        target = TranslationList({QStringLiteral("Caption %1=Beschriftung %1").arg(tag),
                                  QStringLiteral("Title %1=Titel %1").arg(tag),
                                  QStringLiteral("Click %1=Klick %1").arg(tag),
                                  QStringLiteral("Profile %1=Profil %1").arg(tag)});
    }

    QWidget root;
    SkinLabel* caption = nullptr;
    TabControl* tabs = nullptr;
    SkinButton* composed = nullptr;
    SkinButton* sized = nullptr;
    QFont english;
    QFont other;
    TranslationList target;
};

TEST_F(GlyphWarmerTest, PreparesWhatTheWindowShowsInTheTargetLanguageInItsFonts)
{
    build(QStringLiteral("a"));
    GlyphWarmer warmer;
    warmer.addLanguage({&root}, QStringLiteral("0407"), &target);
    EXPECT_FALSE(warmer.done()) << "adding prepares nothing yet";
    warmer.finish();
    EXPECT_TRUE(warmer.done());

    const struct {
        const char* what;
        QFont font;
        QString text;
        bool prepared;
    } cases[] = {
        {"a remembered source", caption->font(), QStringLiteral("Beschriftung a"), true},
        {"a page title, in the tab bar's font", tabs->tabBar()->font(), QStringLiteral("Titel a"), true},
        {"a known text inside a composed one", composed->font(), QStringLiteral("Klick a"), true},
        {"the font the target language gives", other, QStringLiteral("Profil a"), true},
        {"not the font it has now", english, QStringLiteral("Profil a"), false},
        {"not the text shown now", caption->font(), QStringLiteral("Caption a"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GlyphWarmer::prepared(c.font, c.text), c.prepared);
    }
}

TEST_F(GlyphWarmerTest, EnglishIsTheSourceTextsInTheEnglishFonts)
{
    build(QStringLiteral("b"));
    setActiveTranslation(target);
    composed->setText(QStringLiteral("1.") + translate(QStringLiteral("Click b")));
    GlyphWarmer warmer;
    warmer.addLanguage({&root}, QStringLiteral("0409"), nullptr);
    warmer.finish();
    EXPECT_TRUE(GlyphWarmer::prepared(caption->font(), QStringLiteral("Caption b")));
    EXPECT_TRUE(GlyphWarmer::prepared(composed->font(), QStringLiteral("Click b")))
        << "the composed text's translation found and taken back to its source";
    EXPECT_TRUE(GlyphWarmer::prepared(english, QStringLiteral("Profile b")));
}

TEST_F(GlyphWarmerTest, WorksInStepsFromTheEventLoopAndNeverTwiceOnOneText)
{
    build(QStringLiteral("c"));
    GlyphWarmer warmer;
    warmer.addLanguage({&root}, QStringLiteral("0407"), &target);
    warmer.start();
    ASSERT_TRUE(test::runEventsUntil([&] { return warmer.done(); }));
    EXPECT_TRUE(GlyphWarmer::prepared(caption->font(), QStringLiteral("Beschriftung c")));

    GlyphWarmer again;
    again.addLanguage({&root}, QStringLiteral("0407"), &target);
    again.add(caption->font(), QStringLiteral("Beschriftung c"));
    EXPECT_TRUE(again.done()) << "everything was prepared before";
    again.add(caption->font(), QStringLiteral("  "));
    EXPECT_TRUE(again.done()) << "blank text needs nothing";
}

TEST_F(GlyphWarmerTest, ALongTextIsPreparedAFewCharactersAtATime)
{
    // Steps with no budget do one piece each; the text counts as prepared
    // after its last piece only. A piece never ends inside a character:
    // each U+20000 is two code units.
    QFont font;
    font.setPointSizeF(9.5);
    const QString ideograph = QString::fromUcs4(U"\U00020000");
    const struct {
        QString text;
        int pieces;
    } cases[] = {
        {QStringLiteral("d").repeated(GlyphWarmer::kPieceLength * 3), 3},
        {QStringLiteral("e").repeated(GlyphWarmer::kPieceLength * 3 + 1), 4},
        {QStringLiteral("f"), 1},
        // 17 code units: the first piece would end at unit 8, inside the
        // fourth ideograph, so it takes 9 units, and the second the other 8.
        {QStringLiteral("g") + ideograph.repeated(8), 2},
    };
    for (const auto& c : cases) {
        GlyphWarmer warmer;
        warmer.add(font, c.text);
        int steps = 0;
        bool finished = false;
        while (!finished && steps < 100) {
            EXPECT_FALSE(GlyphWarmer::prepared(font, c.text)) << "before piece " << steps + 1;
            finished = warmer.step(0);
            ++steps;
        }
        EXPECT_EQ(steps, c.pieces) << c.text.size() << " code units";
        EXPECT_TRUE(GlyphWarmer::prepared(font, c.text));
    }
}

} // namespace
} // namespace k4812
