// k4812ctl profile show|export|import|reset: one of the five profiles, read,
// copied to or from a profile file, or reset to the factory settings.

#include "sequences/MouseReadBack.h"
#include "CliPauser.h"
#include "ProfileFileReader.h"
#include "VerbProfileSupport.h"

#include "wire/KeyCodeTable.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"
#include "profiles/RecordChecks.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace k4812::cli {

namespace {

QString hex(unsigned value, int digits = 2)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString keyName(int virtualKey, int extended)
{
    const QString name = KeyNameOf(virtualKey, extended);
    return name.isEmpty() ? QStringLiteral("key ") + hex(unsigned(virtualKey)) : name;
}

QString simpleFunctionName(int deviceCode)
{
    switch (deviceCode) {
    case 1: return QStringLiteral("Click");
    case 2: return QStringLiteral("Right Click");
    case 3: return QStringLiteral("Middle Button");
    case 4: return QStringLiteral("Backward");
    case 5: return QStringLiteral("Forward");
    case 8: return QStringLiteral("DPI Switch");
    case 9: return QStringLiteral("DPI +");
    case 10: return QStringLiteral("DPI -");
    case 11: return QStringLiteral("Wheel Up");
    case 12: return QStringLiteral("Wheel Down");
    case 13: return QStringLiteral("eighth-button function");
    default: return QStringLiteral("device code %1").arg(deviceCode);
    }
}

struct FunctionView {
    QString text;
    QJsonObject json;
};

// One button's function as a person reads it; only the parameters that
// belong to its FunctionClass are looked at.
FunctionView describeFunction(const TBUTTONFUNCINFO& b)
{
    const int functionClass = b.FunctionClass;
    const int deviceCode = b.DeviceCode;
    FunctionView view;
    QJsonObject& j = view.json;
    j[QStringLiteral("functionClass")] = functionClass;
    j[QStringLiteral("deviceCode")] = deviceCode;
    j[QStringLiteral("functionIndex")] = int(b.FunctionIndex);
    switch (functionClass) {
    case kFunctionClassCombo: {
        const TCOMBOKEYINFO k = b.ComboKeyInfo;
        QString keys = ModifierText(k.nModifier) + keyName(k.nKeyValue1, k.nKey1Extended);
        if (k.nKeyValue2 != 0)
            keys += QLatin1Char('+') + keyName(k.nKeyValue2, k.nKey2Extended);
        view.text = QStringLiteral("key combination ") + keys;
        j[QStringLiteral("function")] = QStringLiteral("key combination");
        j[QStringLiteral("keys")] = keys;
        j[QStringLiteral("modifiers")] = int(k.nModifier);
        j[QStringLiteral("virtualKey1")] = int(k.nKeyValue1);
        j[QStringLiteral("virtualKey2")] = int(k.nKeyValue2);
        break;
    }
    case kFunctionClassMacro: {
        const int index = b.MacroKeyInfo.nMacroIndex;
        const QString name = macroNameOf(b.MacroKeyInfo);
        view.text = QStringLiteral("macro %1 \"%2\"").arg(index).arg(printable(name));
        j[QStringLiteral("function")] = QStringLiteral("macro");
        j[QStringLiteral("macroIndex")] = index;
        j[QStringLiteral("macroName")] = name;
        break;
    }
    case kFunctionClassFire: {
        const TFIREKEYINFO f = b.FireKeyInfo;
        view.text = QStringLiteral("fire key, %1 times, delay %2").arg(f.nLoopCount).arg(f.DelyValue);
        j[QStringLiteral("function")] = QStringLiteral("fire key");
        j[QStringLiteral("count")] = int(f.nLoopCount);
        j[QStringLiteral("delay")] = int(f.DelyValue);
        break;
    }
    case kFunctionClassSingleKey: {
        const TSINGLEKEYINFO k = b.SingleKeyInfo;
        const QString name = keyName(k.nKeyValue1, k.nKey1Extended);
        view.text = QStringLiteral("single key ") + name;
        j[QStringLiteral("function")] = QStringLiteral("single key");
        j[QStringLiteral("key")] = name;
        j[QStringLiteral("virtualKey")] = int(k.nKeyValue1);
        j[QStringLiteral("extended")] = int(k.nKey1Extended);
        break;
    }
    case kFunctionClassMedia: {
        const THID_CODE_INFO m = b.MediaKeyInfo;
        const bool disabled = m.nKeyValue1 == 0 && m.nKeyValue2 == 0;
        view.text = disabled ? QStringLiteral("Disable")
                             : QStringLiteral("media key %1 %2").arg(hex(m.nKeyValue1), hex(m.nKeyValue2));
        j[QStringLiteral("function")] = disabled ? QStringLiteral("Disable") : QStringLiteral("media key");
        j[QStringLiteral("usage1")] = int(m.nKeyValue1);
        j[QStringLiteral("usage2")] = int(m.nKeyValue2);
        break;
    }
    case kFunctionClassRaw: {
        view.text = QStringLiteral("raw code %1").arg(hexBytes(b.RawParam, 3));
        j[QStringLiteral("function")] = QStringLiteral("raw code");
        j[QStringLiteral("raw")] = QJsonArray{b.RawParam[0], b.RawParam[1], b.RawParam[2]};
        break;
    }
    default: { // CPI and mouse functions, wheel directions
        view.text = simpleFunctionName(deviceCode);
        j[QStringLiteral("function")] = view.text;
        if (deviceCode == 11 || deviceCode == 12) {
            const std::int32_t wheelParam = b.WheelParam;
            j[QStringLiteral("wheelParam")] = wheelParam;
        }
        break;
    }
    }
    view.text += QStringLiteral(" (class %1, code %2)").arg(functionClass).arg(deviceCode);
    return view;
}

QJsonObject describeProfile(const TMOUSEPROFILEINFO& p, int index, const QString& storage, qint64 size,
                            QStringList& lines)
{
    const TMOUSECONFIGINFO& c = p.ConfigInfo;
    QJsonObject json;
    json[QStringLiteral("profile")] = index + 1;
    json[QStringLiteral("storage")] = storage;
    json[QStringLiteral("size")] = size;
    json[QStringLiteral("version")] = int(p.ProfileHeader.FFileVersion);
    lines << QStringLiteral("Profile %1: %2, %3 bytes, version %4")
                 .arg(index + 1)
                 .arg(storage)
                 .arg(size)
                 .arg(p.ProfileHeader.FFileVersion);

    const int buttonCount = std::clamp<int>(c.ButtonCount, 0, kButtonEntryCapacity);
    QJsonArray buttons;
    lines << QStringLiteral("Buttons (%1):").arg(buttonCount);
    for (int i = 0; i < buttonCount; ++i) {
        FunctionView f = describeFunction(c.ButtonFuncInfo[i]);
        f.json[QStringLiteral("button")] = i + 1;
        buttons.append(f.json);
        lines << QStringLiteral("  Button %1: %2").arg(i + 1).arg(f.text);
    }
    json[QStringLiteral("buttons")] = buttons;

    QJsonArray wheel;
    const char* directions[2] = {"up", "down"};
    for (int i = 0; i < 2; ++i) {
        FunctionView f = describeFunction(c.VWheelButtonFuncInfo[i]);
        f.json[QStringLiteral("direction")] = QLatin1String(directions[i]);
        wheel.append(f.json);
        lines << QStringLiteral("  Wheel %1: %2").arg(QLatin1String(directions[i]), f.text);
    }
    json[QStringLiteral("wheel")] = wheel;

    const int levels = std::clamp<int>(c.CPILevel, 0, 10);
    const int active = c.CurrentCPIIndex;
    QJsonArray cpiLevels;
    lines << QStringLiteral("CPI levels (%1 in use, level %2 active):").arg(levels).arg(active + 1);
    for (int i = 0; i < levels; ++i) {
        const TCPILEVELINFO set = c.CPIState[i];
        const TCPILEVELINFO snapped = c.HWCPIState[i];
        cpiLevels.append(QJsonObject{{QStringLiteral("level"), i + 1},
                                     {QStringLiteral("x"), int(set.X)},
                                     {QStringLiteral("y"), int(set.Y)},
                                     {QStringLiteral("enabled"), set.Enabled != 0},
                                     {QStringLiteral("sensorX"), int(snapped.X)},
                                     {QStringLiteral("sensorY"), int(snapped.Y)}});
        lines << QStringLiteral("  Level %1: X %2, Y %3 (sensor %4 x %5)%6")
                     .arg(i + 1)
                     .arg(set.X)
                     .arg(set.Y)
                     .arg(snapped.X)
                     .arg(snapped.Y)
                     .arg(set.Enabled != 0 ? QString() : QStringLiteral(", disabled"));
    }
    json[QStringLiteral("cpi")] = QJsonObject{{QStringLiteral("levelsInUse"), levels},
                                              {QStringLiteral("activeLevel"), active + 1},
                                              {QStringLiteral("levels"), cpiLevels}};

    json[QStringLiteral("reportRate")] = int(c.ReportRate);
    lines << QStringLiteral("Report rate: %1 Hz").arg(c.ReportRate);

    const TLEDCONFIG led = c.LEDConfig;
    const bool lightOn = c.WheelLedOnOff != 0;
    json[QStringLiteral("light")] = QJsonObject{{QStringLiteral("on"), lightOn},
                                                {QStringLiteral("r"), led.R},
                                                {QStringLiteral("g"), led.G},
                                                {QStringLiteral("b"), led.B},
                                                {QStringLiteral("brightness"), led.BRIGHT_LEVEL},
                                                {QStringLiteral("breathingSpeed"), led.BREATH_SPEED}};
    lines << QStringLiteral("Light: %1, colour %2 %3 %4, brightness %5, breathing speed %6")
                 .arg(lightOn ? QStringLiteral("on") : QStringLiteral("off"))
                 .arg(led.R)
                 .arg(led.G)
                 .arg(led.B)
                 .arg(led.BRIGHT_LEVEL)
                 .arg(led.BREATH_SPEED);

    json[QStringLiteral("pointer")] = QJsonObject{{QStringLiteral("speed"), int(c.PointerSpeed)},
                                                  {QStringLiteral("enhancedPrecision"), c.PointerAcceleration != 0},
                                                  {QStringLiteral("doubleClickMs"), int(c.DoubleClickSpeed)},
                                                  {QStringLiteral("wheelLines"), int(c.VWheelSpeed)}};
    lines << QStringLiteral("Pointer: speed %1, enhanced precision %2, double-click %3 ms, wheel %4 lines")
                 .arg(c.PointerSpeed)
                 .arg(c.PointerAcceleration != 0 ? QStringLiteral("on") : QStringLiteral("off"))
                 .arg(c.DoubleClickSpeed)
                 .arg(c.VWheelSpeed);

    json[QStringLiteral("fire")] = QJsonObject{{QStringLiteral("delay"), int(c.FireKeySpeed)},
                                               {QStringLiteral("count"), int(c.FireKeyCount)}};
    lines << QStringLiteral("Fire defaults: delay %1, count %2").arg(c.FireKeySpeed).arg(c.FireKeyCount);

    const int macroCount = std::clamp<int>(p.MacroKeyInfoList.nMacroInfoCount, 0, kMacroListCapacity);
    QJsonArray macros;
    lines << QStringLiteral("Macros (%1):").arg(macroCount);
    for (int i = 0; i < macroCount; ++i) {
        const TMACROKEYINFO& m = p.MacroKeyInfoList.MacroInfos[i];
        const QString name = macroNameOf(m);
        const int actions = m.MacroListCount;
        macros.append(QJsonObject{{QStringLiteral("index"), int(m.nMacroIndex)},
                                  {QStringLiteral("name"), name},
                                  {QStringLiteral("actions"), actions}});
        lines << QStringLiteral("  %1: \"%2\", %3 actions").arg(m.nMacroIndex).arg(printable(name)).arg(actions);
    }
    json[QStringLiteral("macros")] = macros;
    return json;
}

int profileShow(Context& context, const QStringList& args)
{
    bool json = false;
    QStringList rest;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else
            rest.append(arg);
    }
    if (rest.size() != 1)
        return context.usageError(QStringLiteral("profile show takes a profile number (1 to 5)"));
    const std::optional<int> index = parseOneBased(context, rest[0], kProfileCount, "the profile");
    if (!index)
        return kExitUsage;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    dm->ReadProfileInfo(*profile, *index);
    QStringList lines;
    const QJsonObject description =
        describeProfile(*profile, *index, storageOf(dm->FProfileSettingGroup().ProfileSettingList[*index]),
                        dm->FProfileGroup(*index)->Size(), lines);
    if (json)
        context.out() << QJsonDocument(description).toJson(QJsonDocument::Indented);
    else
        context.out() << lines.join(QLatin1Char('\n')) << '\n';
    return kExitOk;
}

// Saves store `index` to its own file and its registry value, both or
// neither; a line for each place.
QStringList saveProfileEverywhere(TDM& dm, int index)
{
    QStringList saved;
    const TuiProfile& store = *dm.FProfileGroup(index);
    if (!dm.SaveProfileInfo(index))
        return saved;
    if (!store.FilePath().isEmpty())
        saved << store.FilePath() + store.FileName();
    saved << QStringLiteral("the registry value \"%1\"").arg(store.FileName());
    return saved;
}

int profileExport(Context& context, const QStringList& args)
{
    if (args.size() != 2)
        return context.usageError(QStringLiteral("profile export takes a profile number and a file"));
    const std::optional<int> index = parseOneBased(context, args[0], kProfileCount, "the profile");
    if (!index)
        return kExitUsage;
    const QString file = QFileInfo(args[1]).absoluteFilePath();
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    try {
        if (!dm->FProfileGroup(*index)->SaveStreamToFile(file))
            return context.fail(QStringLiteral("cannot save \"%1\": its folder does not exist and cannot be created")
                                    .arg(file));
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    context.out() << "Profile " << *index + 1 << " saved to " << file << " (" << dm->FProfileGroup(*index)->Size()
                  << " bytes)\n";
    return kExitOk;
}

int profileImport(Context& context, const QStringList& args)
{
    if (args.size() != 2)
        return context.usageError(QStringLiteral("profile import takes a profile number and a file"));
    const std::optional<int> index = parseOneBased(context, args[0], kProfileCount, "the profile");
    if (!index)
        return kExitUsage;
    const QString file = QFileInfo(args[1]).absoluteFilePath();
    if (!QFileInfo(file).isFile())
        return context.fail(QStringLiteral("\"%1\" is not a file").arg(file));

    // Read and check the file before anything is changed.
    TuiProfile incoming;
    try {
        incoming.LoadStreamFromFile(file);
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    const QString problem = profileBytesProblem(incoming.stream());
    if (!problem.isEmpty())
        return context.fail(QStringLiteral("\"%1\" was not imported: %2; nothing was changed").arg(file, problem));

    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    TuiProfile& store = *dm->FProfileGroup(*index);
    store.setSize(0);
    store.Write(incoming.stream().constData(), int(incoming.stream().size()));
    QStringList saved;
    try {
        saved = saveProfileEverywhere(*dm, *index);
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    context.out() << "Profile " << *index + 1 << " imported from " << file << " (" << store.Size()
                  << " bytes), saved to " << saved.join(QStringLiteral(" and ")) << '\n';
    return kExitOk;
}

int profileReset(Context& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("profile reset takes a profile number (1 to 5)"));
    const std::optional<int> index = parseOneBased(context, args[0], kProfileCount, "the profile");
    if (!index)
        return kExitUsage;
    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    dm->RestoreProfileInfoToDefault(*index);
    QStringList saved;
    try {
        saved = saveProfileEverywhere(*dm, *index);
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    context.out() << "Profile " << *index + 1 << " reset to the factory settings, saved to "
                  << saved.join(QStringLiteral(" and ")) << '\n';
    return kExitOk;
}

int runProfile(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("show"))
        return profileShow(context, args.mid(1));
    if (what == QLatin1String("export"))
        return profileExport(context, args.mid(1));
    if (what == QLatin1String("import"))
        return profileImport(context, args.mid(1));
    if (what == QLatin1String("reset"))
        return profileReset(context, args.mid(1));
    return context.usageError(what.isEmpty() ? QStringLiteral("profile needs show, export, import or reset")
                                             : QStringLiteral("unknown profile command \"%1\"").arg(what));
}

// k4812ctl mouse read: one mode's bank of the mouse, decoded onto the
// profile bound to that mode (what the mouse does not hold stays as that
// profile has it).
int mouseRead(Context& context, const QStringList& args)
{
    bool json = false;
    int mode = 0;
    std::optional<int> into;
    QString exportFile;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--mode") && hasValue) {
            const std::optional<int> m = parseOneBased(context, args[++i], kModeCount, "the mode");
            if (!m)
                return kExitUsage;
            mode = *m;
        } else if (arg == QLatin1String("--into") && hasValue) {
            into = parseOneBased(context, args[++i], kProfileCount, "the profile");
            if (!into)
                return kExitUsage;
        } else if (arg == QLatin1String("--export") && hasValue) {
            exportFile = QFileInfo(args[++i]).absoluteFilePath();
        } else {
            return context.usageError(
                QStringLiteral("mouse read takes --mode 1|2, --json, --into N and --export FILE, not \"%1\"").arg(arg));
        }
    }
    if (into && context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;

    const int base = into ? *into : dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[mode];
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    dm->ReadProfileInfo(*profile, base);
    const QString readProblem = ReadMouseBank(*hid, cliPauser(), mode, *profile);
    if (!readProblem.isEmpty())
        return context.fail(QStringLiteral("Mode %1 could not be read from the mouse: %2 Nothing was changed.")
                                .arg(mode + 1)
                                .arg(readProblem));

    // The bytes go through the checks an imported file gets.
    TuiProfile incoming;
    incoming.Write(profile.get(), int(sizeof(TMOUSEPROFILEINFO)));
    const QString problem = profileBytesProblem(incoming.stream());
    if (!problem.isEmpty())
        return context.fail(
            QStringLiteral("what Mode %1 holds cannot be kept as a profile: %2; nothing was changed").arg(mode + 1).arg(problem));

    if (!exportFile.isEmpty()) {
        try {
            if (!incoming.SaveStreamToFile(exportFile))
                return context.fail(
                    QStringLiteral("cannot save \"%1\": its folder does not exist and cannot be created").arg(exportFile));
        } catch (const StorageError& error) {
            return context.fail(error.message());
        }
        context.out() << "Mode " << mode + 1 << " saved to " << exportFile << " (" << incoming.Size() << " bytes)\n";
    }
    if (into) {
        TuiProfile& store = *dm->FProfileGroup(*into);
        store.setSize(0);
        store.Write(incoming.stream().constData(), int(incoming.stream().size()));
        QStringList saved;
        try {
            saved = saveProfileEverywhere(*dm, *into);
        } catch (const StorageError& error) {
            return context.fail(error.message());
        }
        context.out() << "Mode " << mode + 1 << " read into profile " << *into + 1 << ", saved to "
                      << saved.join(QStringLiteral(" and ")) << '\n';
    }
    if (into || !exportFile.isEmpty())
        return kExitOk;
    QStringList lines;
    const QJsonObject description = describeProfile(*profile, base, QStringLiteral("mouse"), incoming.Size(), lines);
    if (json)
        context.out() << QJsonDocument(description).toJson(QJsonDocument::Indented);
    else
        context.out() << lines.join(QLatin1Char('\n')) << '\n';
    return kExitOk;
}

int runMouse(Context& context, const QStringList& args)
{
    if (args.isEmpty() || args.first() != QLatin1String("read"))
        return context.usageError(QStringLiteral("mouse needs read"));
    return mouseRead(context, args.mid(1));
}

const VerbRegistration mouseRegistration({
    "mouse",
    "k4812ctl mouse read [--mode 1|2] [--json] [--into N] [--export FILE.pfd]\n"
    "\n"
    "Reads the bank of Mode 1 (default) or Mode 2 from the mouse and shows it\n"
    "as profile show does (--json: as one JSON object), on top of the profile\n"
    "bound to that mode: buttons, macros the buttons play, CPI levels, report\n"
    "rate and light come from the mouse, the rest (names, pointer settings,\n"
    "wheel) from the profile. --into N stores it as profile N instead (on top\n"
    "of profile N, with the checks an import makes); --export writes it to\n"
    "FILE.pfd as profile export does. A read that fails changes nothing.",
    "read a mode's settings back from the mouse",
    &runMouse,
});

const VerbRegistration registration({
    "profile",
    "k4812ctl profile show N [--json]\n"
    "       k4812ctl profile export N FILE.pfd\n"
    "       k4812ctl profile import N FILE.pfd\n"
    "       k4812ctl profile reset N\n"
    "\n"
    "Works on profile N (1 to 5) of your own profile stores.\n"
    "show prints its settings: button and wheel functions, CPI levels, report\n"
    "rate, light, pointer settings, fire defaults and macros (--json: the same\n"
    "as one JSON object). export writes the profile's bytes, as stored, to\n"
    "FILE.pfd (replacing it). import takes a profile file of this program\n"
    "(version 259, at least one whole profile) as profile N and saves it to\n"
    "the profile's file and registry value; any other file is refused and\n"
    "nothing changes. reset restores the factory settings of profile N and\n"
    "saves them. The mouse takes changes with the next apply.",
    "show, export, import or reset one profile",
    &runProfile,
});

} // namespace

} // namespace k4812::cli
