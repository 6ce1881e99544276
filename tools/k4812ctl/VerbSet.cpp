// k4812ctl set [--apply] WHAT VALUE...: edits the current profile as the
// window's pages do, and stores it as an apply does; with --apply the mouse
// is written too.

#include "ApplyRunner.h"
#include "ButtonFunctionWords.h"
#include "ProfileFileReader.h"
#include "VerbProfileSupport.h"

#include "wire/CpiEncoding.h"
#include "wire/KeyCodeTable.h"
#include "wire/LightEncoding.h"
#include "sequences/ApplySequence.h"
#include "macros/MacroName.h"
#include "profiles/AdvancedEdits.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/SensitivityEdits.h"
#include "platform/desktop/PointerSettings.h"
#include "profiles/SystemSettingEdits.h"

#include <functional>

namespace k4812::cli {

namespace {

constexpr int kButtonsOnScreen = 7;

// The outcome of one edit: a line saying what the profile holds now, or a
// message why nothing changed (then `usage` tells whether the command line
// was wrong).
struct Edit {
    bool done = false;
    bool usage = false;
    QString text;
};

Edit changed(const QString& text)
{
    return {true, false, text};
}

Edit refused(const QString& text)
{
    return {false, false, text};
}

Edit badUsage(const QString& text)
{
    return {false, true, text};
}

std::optional<int> wholeNumber(const QString& text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<bool> onOff(const QString& text)
{
    if (text == QLatin1String("on"))
        return true;
    if (text == QLatin1String("off"))
        return false;
    return std::nullopt;
}

QString levelText(const TMOUSEPROFILEINFO& p, int level)
{
    const TCPILEVELINFO v = p.ConfigInfo.CPIState[level];
    const TCPILEVELINFO hw = p.ConfigInfo.HWCPIState[level];
    return QStringLiteral("CPI level %1: X %2, Y %3 (the mouse uses %4)%5")
        .arg(level + 1)
        .arg(v.X)
        .arg(v.Y)
        .arg(hw.X)
        .arg(v.Enabled ? QString() : QStringLiteral(", not in use"));
}

Edit setCpi(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    if (a.size() != 2 && a.size() != 3)
        return badUsage(QStringLiteral("set cpi takes a level (1 to 4), X and optionally Y"));
    const std::optional<int> level = wholeNumber(a[0], 1, kCpiLevelsShown);
    if (!level)
        return badUsage(QStringLiteral("the CPI level must be 1 to %1, not \"%2\"").arg(kCpiLevelsShown).arg(a[0]));
    const std::optional<int> x = wholeNumber(a[1], kCpiValueMin, kCpiValueMax);
    const std::optional<int> y = a.size() == 3 ? wholeNumber(a[2], kCpiValueMin, kCpiValueMax) : x;
    if (!x || !y)
        return badUsage(
            QStringLiteral("CPI values are whole numbers from %1 to %2").arg(kCpiValueMin).arg(kCpiValueMax));
    if (*x != *y && p.ConfigInfo.ApplyDiffirentXY == 0)
        return refused(QStringLiteral("X and Y differ, but the \"Diffirent X/Y setting\" is off; turn it on with "
                                      "k4812ctl set different-xy on"));
    const int index = *level - 1;
    ChangeCpiValue(p, index, CpiAxis::X, *x);
    if (p.ConfigInfo.ApplyDiffirentXY != 0)
        ChangeCpiValue(p, index, CpiAxis::Y, *y);
    return changed(levelText(p, index));
}

Edit setCpiLevels(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<int> n = a.size() == 1 ? wholeNumber(a[0], 1, kCpiLevelsShown) : std::nullopt;
    if (!n)
        return badUsage(
            QStringLiteral("set cpi-levels takes the number of levels in use, 1 to %1").arg(kCpiLevelsShown));
    SetCpiLevelCount(p, *n);
    return changed(QStringLiteral("CPI levels in use: %1").arg(*n));
}

Edit setDifferentXY(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<bool> on = a.size() == 1 ? onOff(a[0]) : std::nullopt;
    if (!on)
        return badUsage(QStringLiteral("set different-xy takes on or off"));
    SetDifferentXY(p, *on);
    return changed(QStringLiteral("Different X/Y: %1").arg(*on ? "on" : "off"));
}

Edit setRate(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<int> hz = a.size() == 1 ? wholeNumber(a[0], 1, 100000) : std::nullopt;
    if (!hz || !SetReportRate(p, *hz))
        return badUsage(QStringLiteral("set rate takes 125, 250, 500 or 1000 (Hz)"));
    return changed(QStringLiteral("Report rate: %1 Hz").arg(*hz));
}

QString lightText(const TMOUSEPROFILEINFO& p)
{
    const TLEDCONFIG l = p.ConfigInfo.LEDConfig;
    return QStringLiteral("Light: %1, colour R %2 G %3 B %4, brightness %5, breathing speed %6")
        .arg(p.ConfigInfo.WheelLedOnOff != 0 ? "on" : "off")
        .arg(l.R)
        .arg(l.G)
        .arg(l.B)
        .arg(l.BRIGHT_LEVEL)
        .arg(l.BREATH_SPEED);
}

Edit setLight(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<bool> on = a.size() == 1 ? onOff(a[0]) : std::nullopt;
    if (!on)
        return badUsage(QStringLiteral("set light takes on or off"));
    SetLightOn(p, *on);
    return changed(lightText(p));
}

Edit setColor(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    if (a.size() != 3)
        return badUsage(QStringLiteral("set color takes red, green and blue, each 0 to 255"));
    std::optional<int> rgb[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = wholeNumber(a[i], 0, 255);
        if (!rgb[i])
            return badUsage(QStringLiteral("colour values are whole numbers from 0 to 255, not \"%1\"").arg(a[i]));
    }
    SetLightColor(p, std::uint8_t(*rgb[0]), std::uint8_t(*rgb[1]), std::uint8_t(*rgb[2]));
    return changed(lightText(p));
}

Edit setBreathing(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<int> speed =
        a.size() == 1 ? wholeNumber(a[0], kBreathingSpeedMin, kBreathingSpeedMax) : std::nullopt;
    if (!speed)
        return badUsage(QStringLiteral("set breathing takes a speed from %1 (low) to %2 (high)")
                            .arg(kBreathingSpeedMin)
                            .arg(kBreathingSpeedMax));
    SetBreathingSpeed(p, *speed);
    return changed(lightText(p));
}

// The System Setting page's values as the profile holds them.
QString systemText(const TMOUSEPROFILEINFO& p)
{
    const int lines = p.ConfigInfo.VWheelSpeed;
    return QStringLiteral("System settings: pointer speed %1, enhanced precision %2, double-click %3 ms, wheel %4")
        .arg(p.ConfigInfo.PointerSpeed)
        .arg(p.ConfigInfo.PointerAcceleration != 0 ? "on" : "off")
        .arg(p.ConfigInfo.DoubleClickSpeed)
        .arg(IsScrollOnePage(lines) ? QStringLiteral("one page") : QStringLiteral("%1 lines").arg(lines));
}

Edit setPointerSpeed(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<int> speed = a.size() == 1 ? wholeNumber(a[0], 1, 1000) : std::nullopt;
    if (!speed || !SetPointerSpeed(p, *speed))
        return badUsage(QStringLiteral("set pointer-speed takes a speed from %1 (slowest) to %2 (fastest)")
                            .arg(kMinPointerSpeed)
                            .arg(kMaxPointerSpeed));
    return changed(systemText(p));
}

Edit setPrecision(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    const std::optional<bool> on = a.size() == 1 ? onOff(a[0]) : std::nullopt;
    if (!on)
        return badUsage(QStringLiteral("set enhanced-precision takes on or off"));
    SetPointerPrecision(p, *on);
    return changed(systemText(p));
}

Edit setDoubleClick(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    // The page's track moves in steps of 10 ms; a time between them is not
    // one the page can store.
    const std::optional<int> ms = a.size() == 1 ? wholeNumber(a[0], 0, 100000) : std::nullopt;
    if (!ms || *ms % kDoubleClickTrackStep != 0 || !SetDoubleClickTrack(p, DoubleClickTrackOf(*ms)))
        return badUsage(QStringLiteral("set double-click takes a time from %1 to %2 ms in steps of %3 ms")
                            .arg(DoubleClickTimeOfTrack(kDoubleClickTrackMax))
                            .arg(DoubleClickTimeOfTrack(kDoubleClickTrackMin))
                            .arg(kDoubleClickTrackStep));
    return changed(systemText(p));
}

Edit setWheelLines(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    if (a.size() == 1 && a[0] == QLatin1String("page")) {
        SetScrollOnePage(p);
        return changed(systemText(p));
    }
    const std::optional<int> lines = a.size() == 1 ? wholeNumber(a[0], 0, 1000) : std::nullopt;
    if (!lines || !SetScrollLines(p, *lines))
        return badUsage(QStringLiteral("set wheel-lines takes %1 to %2 lines, or page")
                            .arg(kScrollLinesMin)
                            .arg(kScrollLinesMax));
    return changed(systemText(p));
}

QString comboText(const TCOMBOKEYINFO& c)
{
    QString text = ModifierText(c.nModifier) + KeyNameOf(c.nKeyValue1, c.nKey1Extended);
    if (c.nKeyValue2 != 0)
        text += QLatin1Char('+') + KeyNameOf(c.nKeyValue2, c.nKey2Extended);
    return text;
}

// What button `i` does now, in the menu's words.
QString buttonText(const TMOUSEPROFILEINFO& p, int i)
{
    const TBUTTONFUNCINFO& e = p.ConfigInfo.ButtonFuncInfo[i];
    const int menuId = e.MenuID != 0 ? int(e.MenuID) : MenuIdOfRow(e.FunctionIndex);
    QString what;
    switch (e.FunctionClass) {
    case kFunctionClassSingleKey: {
        const TSINGLEKEYINFO k = e.SingleKeyInfo;
        what = QStringLiteral("Single Key <%1>").arg(KeyNameOf(k.nKeyValue1, k.nKey1Extended));
        break;
    }
    case kFunctionClassMacro:
        what = QStringLiteral("Macro<%1>").arg(macroNameOf(e.MacroKeyInfo));
        break;
    case kFunctionClassFire: {
        const TFIREKEYINFO f = e.FireKeyInfo;
        what = QStringLiteral("Fire Key: %1 times, delay %2 x 10 ms").arg(f.nLoopCount).arg(f.DelyValue);
        break;
    }
    default:
        if (menuId == kMenuComboKey)
            what = QStringLiteral("Combo Key ") + comboText(e.ComboKeyInfo);
        else if (const char* caption = ButtonMenuCaption(menuId))
            what = QLatin1String(caption);
        else
            what = QStringLiteral("menu item %1").arg(menuId);
    }
    return QStringLiteral("Button %1: %2").arg(i + 1).arg(what);
}

QString refusalText(AssignmentResult result, int button, const ButtonFunctionChoice& choice)
{
    switch (result) {
    case AssignmentResult::NotOnThisButton:
        return QStringLiteral("buttons 1 and 2 take only click and right-click");
    case AssignmentResult::KeyNotSendable:
        return QStringLiteral("the mouse cannot send that key from a button");
    case AssignmentResult::BadValue:
        return QStringLiteral("the value is outside what the button takes");
    case AssignmentResult::NoSuchMacro:
        return QStringLiteral("the current profile has no macro named \"%1\"").arg(choice.macroName);
    case AssignmentResult::TooManyMacros:
        return QStringLiteral("at most %1 different macros can be on the buttons; button %2 keeps its function")
            .arg(kMaxAssignedMacros)
            .arg(button + 1);
    default:
        return QStringLiteral("that function cannot be given to button %1").arg(button + 1);
    }
}

Edit setButton(TMOUSEPROFILEINFO& p, const QStringList& a)
{
    if (a.size() < 2)
        return badUsage(QStringLiteral("set button takes a button (1 to %1) and a function").arg(kButtonsOnScreen));
    const std::optional<int> number = wholeNumber(a[0], 1, kButtonsOnScreen);
    if (!number)
        return badUsage(QStringLiteral("the button must be 1 to %1, not \"%2\"").arg(kButtonsOnScreen).arg(a[0]));
    QString error;
    const std::optional<ButtonFunctionChoice> choice = parseButtonFunction(a.mid(1), error);
    if (!choice)
        return badUsage(error);
    const int button = *number - 1;
    AssignmentOutcome outcome;
    switch (choice->kind) {
    case ButtonFunctionChoice::Kind::Simple:
        outcome = AssignButtonFunction(p, button, choice->menuId);
        break;
    case ButtonFunctionChoice::Kind::SingleKey:
        outcome = AssignSingleKey(p, button, choice->singleKey);
        break;
    case ButtonFunctionChoice::Kind::ComboKey:
        outcome = AssignComboKey(p, button, choice->comboKey);
        break;
    case ButtonFunctionChoice::Kind::FireKey:
        outcome = AssignFireKey(p, button, choice->fireKey);
        break;
    case ButtonFunctionChoice::Kind::Macro:
        outcome = AssignMacro(p, button, FindMacroByName(p, choice->macroName));
        break;
    }
    if (!outcome.assigned())
        return refused(refusalText(outcome.result, button, *choice));
    QString text = buttonText(p, button);
    if (outcome.alsoChanged >= 0)
        text += QLatin1Char('\n') + buttonText(p, outcome.alsoChanged);
    return changed(text);
}

using Editor = Edit (*)(TMOUSEPROFILEINFO&, const QStringList&);
using Values = QStringList (*)();

QStringList numbers(int first, int last)
{
    QStringList list;
    for (int n = first; n <= last; ++n)
        list.append(QString::number(n));
    return list;
}

QStringList onOffWords()
{
    return {QStringLiteral("on"), QStringLiteral("off")};
}

QStringList cpiLevelNumbers()
{
    return numbers(1, kCpiLevelsShown);
}

QStringList rateValues()
{
    QStringList list;
    for (const ReportRateRow& row : kReportRates)
        list.append(QString::number(row.hertz));
    return list;
}

QStringList breathingValues()
{
    return numbers(kBreathingSpeedMin, kBreathingSpeedMax);
}

QStringList pointerSpeedValues()
{
    return numbers(kMinPointerSpeed, kMaxPointerSpeed);
}

QStringList doubleClickValues()
{
    QStringList list;
    for (int track = kDoubleClickTrackMax; track >= kDoubleClickTrackMin; track -= kDoubleClickTrackStep)
        list.append(QString::number(DoubleClickTimeOfTrack(track)));
    return list;
}

QStringList wheelLineValues()
{
    return numbers(kScrollLinesMin, kScrollLinesMax) << QStringLiteral("page");
}

QStringList buttonNumbers()
{
    return numbers(1, kButtonsOnScreen);
}

struct Setting {
    const char* name;
    Editor edit;
    Values firstValues; // the fixed list the first value comes from, for the completion
};

constexpr Setting kSettings[] = {
    {"cpi", setCpi, cpiLevelNumbers},
    {"cpi-levels", setCpiLevels, cpiLevelNumbers},
    {"different-xy", setDifferentXY, onOffWords},
    {"rate", setRate, rateValues},
    {"light", setLight, onOffWords},
    {"color", setColor, nullptr},
    {"colour", setColor, nullptr},
    {"breathing", setBreathing, breathingValues},
    {"button", setButton, buttonNumbers},
    {"pointer-speed", setPointerSpeed, pointerSpeedValues},
    {"enhanced-precision", setPrecision, onOffWords},
    {"double-click", setDoubleClick, doubleClickValues},
    {"wheel-lines", setWheelLines, wheelLineValues},
};

// set SETTING, its first value, and the function of a button.
std::vector<ArgumentWords> setArguments()
{
    std::vector<ArgumentWords> list(1);
    for (const Setting& s : kSettings) {
        list.front().words.append(QLatin1String(s.name));
        if (s.firstValues != nullptr)
            list.push_back({QLatin1String(s.name), s.firstValues()});
    }
    list.push_back({QStringLiteral("button [1-%1]").arg(kButtonsOnScreen),
                    simpleFunctionWords() + QStringList{QStringLiteral("key"), QStringLiteral("combo"),
                                                        QStringLiteral("macro"), QStringLiteral("fire")}});
    return list;
}

int runSet(Context& context, const QStringList& args)
{
    bool apply = false;
    QStringList rest;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--apply"))
            apply = true;
        else
            rest << arg;
    }
    const QString what = rest.value(0);
    const Setting* setting = nullptr;
    for (const Setting& s : kSettings) {
        if (what == QLatin1String(s.name))
            setting = &s;
    }
    if (setting == nullptr)
        return context.usageError(what.isEmpty() ? QStringLiteral("set needs a setting")
                                                 : QStringLiteral("unknown setting \"%1\"").arg(what));

    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    // Edit a copy, so that a refused edit leaves the working copy as it was.
    auto edited = std::make_unique<TMOUSEPROFILEINFO>(dm->FCurrentProfileInfo());
    const Edit edit = setting->edit(*edited, rest.mid(1));
    if (!edit.done)
        return edit.usage ? context.usageError(edit.text) : context.fail(edit.text);
    dm->FCurrentProfileInfo() = *edited;
    context.out() << "Profile " << dm->FProfileIndex() + 1 << ": " << edit.text << '\n';
    if (apply)
        return runApply(context, *dm); // stores everything first, as an apply does
    try {
        StoreAllProfiles(*dm);
    } catch (const StorageError& error) {
        return context.fail(QStringLiteral("the profile could not be stored: %1").arg(error.message()));
    }
    return kExitOk;
}

const VerbRegistration registration({
    "set",
    "k4812ctl set [--apply] SETTING VALUE...\n"
    "\n"
    "Changes the current profile as the window's pages do and stores every\n"
    "profile as an apply does; --apply also writes the mouse (see apply).\n"
    "  cpi LEVEL X [Y]       X and Y (100 to 3500) of CPI level 1 to 4; Y may\n"
    "                        differ from X only with different-xy on; the mouse\n"
    "                        uses the nearest of its CPI steps\n"
    "  cpi-levels N          levels in use, 1 to 4\n"
    "  different-xy on|off   the \"Diffirent X/Y setting\"\n"
    "  rate HZ               report rate 125, 250, 500 or 1000\n"
    "  light on|off          on: brightness 3, breathing speed 1; off: both 0\n"
    "  color R G B           light colour, each 0 to 255\n"
    "  breathing N           breathing speed, 1 (low) to 3 (high)\n"
    "  button N FUNCTION     button 1 to 7, FUNCTION one of: click, right-click,\n"
    "                        middle, forward, backward, key NAME, combo KEYS\n"
    "                        (ctrl+shift+a), cut, copy, paste, select-all, find,\n"
    "                        new, print, save, switch-window, close-window,\n"
    "                        open-explorer, run, show-desktop, lock-pc,\n"
    "                        play-pause, stop, previous, next, volume-up,\n"
    "                        volume-down, mute, macro NAME, dpi-switch, dpi+,\n"
    "                        dpi-, fire COUNT DELAY (1 to 255 each, the delay\n"
    "                        in units of 10 ms), disable. Buttons 1 and 2 take\n"
    "                        only click and right-click; at most 5 different\n"
    "                        macros can be on the buttons.\n"
    "  pointer-speed N       desktop pointer speed, 1 (slowest) to 20 (fastest)\n"
    "  enhanced-precision on|off  the desktop's pointer acceleration\n"
    "  double-click MS       double-click time, 200 to 900 ms in steps of 10\n"
    "  wheel-lines N|page    lines per wheel notch, 1 to 10, or one page\n"
    "The last four reach the desktop when the profile is applied (--apply).",
    "change a setting of the current profile",
    runSet,
    setArguments,
});

} // namespace

} // namespace k4812::cli
