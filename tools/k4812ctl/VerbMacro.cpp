// k4812ctl macro show|check FILE: the macros of a macro file (*.macro) or of
// a profile file (*.pfd), shown as text or JSON, or checked for presses
// without releases. (macro import is in VerbMacroImport.cpp.)

#include "Cli.h"
#include "ProfileFileReader.h"
#include "VerbMacroImport.h"

#include "wire/KeyCodeTable.h"
#include "macros/MacroAction.h"
#include "macros/MacroBounds.h"
#include "macros/MacroClass.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"
#include "records/Records.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace k4812::cli {

namespace {

// A macro file holds one macro; a profile file its whole list. Null (after a
// message) when the file cannot be read or is outside the data model.
std::unique_ptr<TMACROKEYINFOLIST> readMacroFileAsList(Context& context, const QString& path)
{
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    QString error;
    if (readMacroFile(path, list->MacroInfos[0], error) != MacroFileRead::Read) {
        context.fail(error);
        return nullptr;
    }
    const qint64 size = QFileInfo(path).size();   // a regular file: readMacroFile refuses any other
    if (size > kMacroFileSize)
        warn(context, QStringLiteral("\"%1\" is %2 bytes, longer than a macro file (%3 bytes); the bytes after it "
                                     "are ignored")
                          .arg(path).arg(size).arg(kMacroFileSize));
    list->nMacroInfoCount = 1;
    return list;
}

std::unique_ptr<TMACROKEYINFOLIST> readProfileMacros(Context& context, const QString& path)
{
    const auto profile = readProfileFile(context, path);
    if (!profile)
        return nullptr;
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    *list = profile->MacroKeyInfoList;
    QString error;
    if (!isMacroListInModel(*list, error)) {
        context.fail(QStringLiteral("\"%1\": %2").arg(path, error));
        return nullptr;
    }
    return list;
}

std::unique_ptr<TMACROKEYINFOLIST> readMacros(Context& context, const QString& path)
{
    if (path.endsWith(QLatin1String(".pfd"), Qt::CaseInsensitive))
        return readProfileMacros(context, path);
    return readMacroFileAsList(context, path);
}

QString hexByte(std::uint8_t value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

// A name for a key; its code when the key table has no name for it.
QString keyName(std::uint8_t virtualKey, std::uint8_t extended)
{
    const QString name = KeyNameOf(virtualKey, extended);
    return name.isEmpty() ? QStringLiteral("key ") + hexByte(virtualKey) : name;
}

QString stateWord(std::uint16_t state)
{
    if (state == kMacroKeyDown)
        return QStringLiteral("down");
    if (state == kMacroKeyUp)
        return QStringLiteral("up");
    return QStringLiteral("state %1").arg(state);
}

QString describeAction(const TMACROKEY& action)
{
    const std::uint16_t type = action.nKeyType;
    const std::uint16_t state = action.nKeyState;
    switch (type) {
    case kMacroKeyKeyboard:
        return stateWord(state) + QLatin1Char(' ') + keyName(action.VALUE1, action.VALUE2);
    case kMacroKeyMouse:
        return QStringLiteral("mouse ") + stateWord(state) + QLatin1Char(' ') + keyName(action.VALUE1, action.VALUE2);
    case kMacroKeyDelay:
        return QStringLiteral("delay %1").arg(macroActionWord(action));
    default:
        return QStringLiteral("type %1 %2 %3 %4")
            .arg(type)
            .arg(stateWord(state), hexByte(action.VALUE1), hexByte(action.VALUE2));
    }
}

void printMacro(QTextStream& out, const TMACROKEYINFO& macro)
{
    const int count = macro.MacroListCount;
    out << "name: " << printable(macroNameOf(macro)) << '\n'
        << "index: " << macro.nMacroIndex << '\n'
        << "loop count: " << macro.nLoopCount << '\n'
        << "auto add delay: " << macro.nAutoAddDelay << '\n'
        << "have errors: " << macro.HaveErrors << '\n'
        << "error count: " << macro.ErrorCount << '\n'
        << "actions: " << count << '\n';
    for (int i = 0; i < count; ++i)
        out << "  " << describeAction(macro.MacroList[i]) << '\n';
}

QJsonObject macroJson(const TMACROKEYINFO& macro)
{
    QJsonArray actions;
    for (int i = 0; i < macro.MacroListCount; ++i) {
        const TMACROKEY& action = macro.MacroList[i];
        actions.append(QJsonObject{
            {"type", action.nKeyType},
            {"state", action.nKeyState},
            {"value1", action.VALUE1},
            {"value2", action.VALUE2},
            {"text", describeAction(action)},
        });
    }
    return QJsonObject{
        {"name", macroNameOf(macro)},
        {"index", macro.nMacroIndex},
        {"loopCount", macro.nLoopCount},
        {"autoAddDelay", macro.nAutoAddDelay},
        {"haveErrors", macro.HaveErrors},
        {"errorCount", macro.ErrorCount},
        {"version", qint64(macro.Version)},
        {"actions", actions},
    };
}

int runShow(Context& context, const QStringList& args)
{
    bool json = false;
    QStringList files;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(QLatin1String("--")))
            return context.usageError(QStringLiteral("unknown option \"%1\"").arg(arg));
        else
            files << arg;
    }
    if (files.size() != 1)
        return context.usageError(QStringLiteral("macro show takes one macro or profile file"));
    const auto list = readMacros(context, files.first());
    if (!list)
        return kExitFailure;

    QTextStream& out = context.out();
    const int count = list->nMacroInfoCount;
    if (json) {
        QJsonArray macros;
        for (int i = 0; i < count; ++i)
            macros.append(macroJson(list->MacroInfos[i]));
        out << QJsonDocument(QJsonObject{{"macros", macros}}).toJson(QJsonDocument::Indented);
        return kExitOk;
    }
    if (count == 0)
        out << "no macros\n";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out << '\n';
        printMacro(out, list->MacroInfos[i]);
    }
    return kExitOk;
}

int runCheck(Context& context, const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return context.usageError(QStringLiteral("macro check takes one macro or profile file"));
    const auto list = readMacros(context, args.first());
    if (!list)
        return kExitFailure;
    QString error;
    const auto macros = TuiMacroClass::CtlCreate(*list, error);
    if (!macros)
        return context.fail(error);

    bool anyErrors = false;
    for (int i = 0; i < macros->MacroListCount(); ++i) {
        macros->SetMacroListIndex(i);
        const int errors = macros->CurrentMacroAction()->CheckErrors();
        anyErrors = anyErrors || errors > 0;
        context.out() << printable(macroNameOf(*macros->MacroAt(i))) << ": " << errors
                      << (errors == 1 ? " error\n" : " errors\n");
    }
    return anyErrors ? kExitFailure : kExitOk;
}

int runMacro(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("show"))
        return runShow(context, args.mid(1));
    if (what == QLatin1String("check"))
        return runCheck(context, args.mid(1));
    if (what == QLatin1String("import"))
        return runMacroImport(context, args.mid(1));
    return context.usageError(what.isEmpty() ? QStringLiteral("macro needs show, check or import")
                                             : QStringLiteral("unknown macro command \"%1\"").arg(what));
}

const VerbRegistration registration({
    "macro",
    "k4812ctl macro show [--json] FILE.macro|FILE.pfd\n"
    "       k4812ctl macro check FILE.macro|FILE.pfd\n"
    "       k4812ctl macro import FILE.macro\n"
    "\n"
    "show prints a macro file, or every macro of a profile file: its name,\n"
    "position, loop count, auto-delay flag, stored error flag and count, and\n"
    "one line per action (\"down A\", \"up A\", \"delay 50\",\n"
    "\"mouse down Mouse Left Click\", \"type N STATE 0xV1 0xV2\" for other\n"
    "kinds). --json prints the same as a JSON object {\"macros\": [...]}.\n"
    "\n"
    "check runs the press/release check on each macro and prints its error\n"
    "count; the exit status is 1 when any macro has errors.\n"
    "\n"
    "A file whose name ends in .pfd is read as a profile; any other as a\n"
    "macro file, which must be a version 259 record.\n"
    "\n"
    "import adds the macro of a macro file to the current profile's macros\n"
    "(at most 20, names unique) and writes its file into the profile's macro\n"
    "folder; k4812ctl set button N macro NAME then puts it on a button.",
    "show, check or import macros",
    runMacro,
});

} // namespace

} // namespace k4812::cli
