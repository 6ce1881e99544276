// The monitor's reasons in the interface language: translated by the text
// they were made from, with their values kept.

#include "monitor/MonitorReasons.h"

#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::TestEnvironment;

TEST(MonitorReasons, AreTranslatedWithTheirValuesKept)
{
    TestEnvironment env;
    env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));
    TuiLanguage language;
    language.SetLang(QStringLiteral("0404"));
    struct Case {
        const char* reason;
        const char* shown;
    };
    for (const Case& c : {
             Case{"no mouse is connected", "未連接滑鼠"},
             Case{"the mouse did not take the switch (error 5)", "滑鼠未接受切換（錯誤 5）"},
             Case{"cannot reach sway at /run/sway-ipc.sock: Connection refused",
                  "無法連線到位於 /run/sway-ipc.sock 的 sway：Connection refused"},
             Case{"the mouse is in use by k4812-config (process 4711); try again when it has finished",
                  "滑鼠正被 k4812-config（處理程序 4711）使用；請在其完成後重試"},
             Case{"the mouse is in use by another program; try again when it has finished",
                  "滑鼠正被另一個程式使用；請在其完成後重試"},
             // A value that looks like a place holder stays as it is.
             Case{"cannot open the X display \"%2\"", "無法開啟 X 顯示「%2」"},
             // A reason made from no known text is shown as it is.
             Case{"something else went wrong", "something else went wrong"},
         }) {
        EXPECT_EQ(translateReason(QString::fromUtf8(c.reason)), QString::fromUtf8(c.shown)) << c.reason;
    }
    // Every reason has its translation (a text missing from the language
    // files would show in English).
    for (const QString& text : reasonTexts())
        EXPECT_NE(translate(text), text) << text.toStdString();
    clearActiveTranslation();
}
