#include "i18n/LanguageSources.h"
#include "i18n/TranslationList.h"
#include "platform/desktop/GnomePointerSettings.h"
#include "platform/desktop/KdePointerSettings.h"
#include "platform/desktop/NoPointerSettings.h"
#include "platform/desktop/SwayPointerSettings.h"
#include "platform/desktop/X11PointerSettings.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace k4812;

namespace {

// Every text the program's windows, menus, hints and messages show.
const char* const kShownTexts[] = {
    "Gaming Mouse Driver", "K4812_CONFIG", "Button Assignment", "Mode 1", "Mode 2", "PRESET", "PROFILE1",
    "PROFILE2", "PROFILE3", "PROFILE4", "PROFILE5", "Sensitivity", "Advanced", "System Setting", "OK", "Apply",
    "Cancel", "CANCEL", "Reset All", "Click", "Right Click", "Middle Button", "Forward", "Backward",
    "Single Key", "Combo Key", "Basic", "Cut", "Copy", "Paste", "Select All", "Find", "New", "Print", "Save",
    "Switch Window", "Close Window", "Open Explorer", "Run", "Show Desktop", "Lock PC", "Media", "Play/Pause",
    "Stop", "Previous", "Next", "Volume Up", "Volume Down", "Mute", "Macro", "Macro Manager", "DPI Switch",
    "DPI +", "DPI -", "Fire Key...", "Disable", "Wheel Up", "Wheel Down", "Volume +", "Volume -",
    "Short Game Profile", "Real-Time Strategy", "Role Playing Game", "Load from file", "Save to file",
    "Sensitivity options:", "CPI Level:", "X-Axis", "Y-Axis", "100", "3500", "Diffirent X/Y setting",
    "Apply cpi setting for each profile", "Accelaration", "Defaults", "Mouse Report Rate Options:", "125Hz",
    "250Hz", "500Hz", "1000Hz", "Lights Options:", "Turn On", "Turn Off", "Low", "Medium", "High", "Preview",
    "Restore light", "Lights Color Selection:", "Delay:", "Fire:", "Double Click Speed", "Pointer Speed",
    "Enhance pointer precision", "Scroll Speed", "Scroll for one page", "Test area", "No Device Found!",
    "Please connect your mouse device!", "Warning",
    "    Please connect your mouse device before apply new settings!",
    "The settings was changed, save the current setting anyway?", "Reset This Profile",
    "Are you sure you want to reset this profile ?", "Reset the current profile back to factory setting.",
    "Warning!", "You can assign macros to buttons shall not exceed 5 .",
    "You can create macros shall not exceed 20 .", "Delete", "Are your sure you want to delete this macro?",
    "Do you want to leave macro manager without saving?",
    "No permission to save file!please change directory!", "uiHook.dll can not be found!", "Error",
    "Macro Name:", "Macro Action Editor:", "Status", "Button", "Elapsed time (ms)", "Total Elapsed Time", "ms",
    "Total Actions", "Entries", "Reached Max", "Option:", "Record delays between action",
    "Insert default delay", "Number of loops(1-255)", "Insert Actions", "Delete Action", "Move Action Up",
    "Move Action Down", "Copy Action", "Cut Action", "Paste Action", "Mouse Left Click", "Mouse Right Click",
    "Mouse Middle Click", "Edit Single Key...", "it can be any key on the keyboard", "Edit Combo Key...",
    "it can be a Win, Ctrl, Shift, Alt + any of the keyboard keys.", "Fire Settings", "*10", "Create macro",
    "New macro name:", "INFO", "Version Number 1.0.0.0", "The profile could not be stored.",
    "Not every profile could be saved.",
    "The current profile number could not be recorded for the monitor program.",
    "Damaged or missing files were found at start; what was repaired is listed below.",
};

LanguageFile compileShippedSources()
{
    // The test data folder is tests/data of the source tree (it need not exist).
    const QString dir = QDir::cleanPath(QStringLiteral(K4812_TEST_DATA_DIR "/../../resources/i18n")) + QLatin1Char('/');
    QString error;
    std::optional<LanguageFile> file = compileLanguageSources(
        dir + "source.txt", {dir + "0409.txt", dir + "0804.txt", dir + "0404.txt"}, error);
    EXPECT_TRUE(file) << error.toStdString();
    return file.value_or(LanguageFile{});
}

void expectTranslated(const LanguageFile& file, const QString& text)
{
    EXPECT_TRUE(file.original.contains(text)) << text.toStdString();
    for (const LanguageResource& language : file.resources) {
        const QString prefix = text + QLatin1Char('=');
        const bool translated = std::any_of(language.lines.cbegin(), language.lines.cend(), [&](const QString& line) {
            return line.startsWith(prefix) && line.size() > prefix.size();
        });
        EXPECT_TRUE(translated) << language.shortId.toStdString() << ": " << text.toStdString();
    }
}

std::shared_ptr<PointerSettings> kdeBackEnd(KdePointerSettings::Session session, const KdeConfigTools& tools)
{
    KdePointerSettings::Options options;
    options.session = session;
    options.tools = tools;
    // No KWin: asking what is supported does not reach it.
    options.x11Acceleration = [](const MouseAcceleration&) { return PointerSettingResult::Failed; };
    return std::make_shared<KdePointerSettings>(std::move(options));
}

} // namespace

TEST(ShippedTranslations, EveryShownTextInAllThreeLanguages)
{
    const LanguageFile file = compileShippedSources();
    ASSERT_EQ(file.resources.size(), 3);
    EXPECT_EQ(file.resources[0].shortId, "0409");
    EXPECT_EQ(file.resources[1].shortId, "0804");
    EXPECT_EQ(file.resources[2].shortId, "0404");
    for (const char* text : kShownTexts)
        expectTranslated(file, QString::fromUtf8(text));
}

// The System Setting page shows why a desktop lacks a setting, in the window's language.
TEST(ShippedTranslations, EveryReasonADesktopGivesForASettingItLacks)
{
    const LanguageFile file = compileShippedSources();
    ASSERT_EQ(file.resources.size(), 3);
    const DesktopCommandRunner nothing = [](const QStringList&) { return DesktopCommandOutcome{}; };
    const KdeConfigTools kdeTools(QStringLiteral("kwriteconfig5"), QStringLiteral("kreadconfig5"));
    const std::shared_ptr<PointerSettings> backEnds[] = {
        std::make_shared<GnomePointerSettings>(nothing),
        std::make_shared<SwayPointerSettings>(nothing),
        std::make_shared<X11PointerSettings>(),
        std::make_shared<NoPointerSettings>(),
        kdeBackEnd(KdePointerSettings::Session::Wayland, kdeTools),
        kdeBackEnd(KdePointerSettings::Session::X11, kdeTools),
        kdeBackEnd(KdePointerSettings::Session::Wayland, KdeConfigTools()),
    };
    for (const auto& backEnd : backEnds) {
        for (const PointerSetting setting : {PointerSetting::Acceleration, PointerSetting::PointerSpeed,
                                             PointerSetting::WheelScrollLines, PointerSetting::DoubleClickTime}) {
            const PointerSettingSupport support = backEnd->support(setting);
            if (!support.supported)
                expectTranslated(file, support.reason);
        }
    }
}

TEST(ShippedTranslations, ChineseUsesEachRegionsTerms)
{
    const LanguageFile file = compileShippedSources();
    ASSERT_EQ(file.resources.size(), 3);
    const TranslationList english(file.resources[0].lines);
    const TranslationList simplified(file.resources[1].lines);
    const TranslationList traditional(file.resources[2].lines);
    struct Case {
        const char* text;
        const char* simplified;
        const char* traditional;
    };
    const Case cases[] = {
        {"Macro", "宏", "巨集"},
        {"Gaming Mouse Driver", "游戏鼠标驱动程序", "遊戲滑鼠驅動程式"},
        {"Apply", "应用", "套用"},
        {"Save", "保存", "儲存"},
        {"    Please connect your mouse device before apply new settings!", "    请先连接鼠标，再应用新设置！",
         "    請先連接滑鼠，再套用新設定！"},
        {"The desktop did not take these pointer settings: %1.", "桌面未接受以下指针设置：%1。",
         "桌面未接受以下指標設定：%1。"},
        {"%1, %2", "%1、%2", "%1、%2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(english.translate(c.text), QString::fromUtf8(c.text));
        EXPECT_EQ(simplified.translate(c.text), QString::fromUtf8(c.simplified));
        EXPECT_EQ(traditional.translate(c.text), QString::fromUtf8(c.traditional));
    }
}
