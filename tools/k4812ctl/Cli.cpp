#include "Cli.h"

#include "CliPauser.h"

#include "emulator/HidBackendFactory.h"
#include "platform/desktop/SingleInstanceLock.h"
#include "sequences/DeviceLocking.h"
#include "platform/storage/IniFile.h"
#include "platform/storage/ProgramFolder.h"
#include "platform/hid/TracingHidBackend.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace k4812::cli {

namespace {

std::vector<Verb>& registry()
{
    static std::vector<Verb> verbs;
    return verbs;
}

const Verb* findVerb(const QString& name)
{
    for (const Verb& v : registry()) {
        if (name == QLatin1String(v.name))
            return &v;
    }
    return nullptr;
}

void printGeneralHelp(QTextStream& out)
{
    out << "Usage: k4812ctl [--device=hidraw|emulator[:STATEFILE]] [--trace=FILE] VERB [ARGS...]\n"
           "\n"
           "Configures the K4812 gaming mouse from the command line.\n"
           "\n"
           "Global options:\n"
           "  --device=hidraw              use the machine's HID devices (the default)\n"
           "  --device=emulator[:FILE]     use the mouse emulator, its memory kept in FILE\n"
           "                               (K4812_DEVICE sets the same when --device is absent)\n"
           "  --trace=FILE                 append every feature report exchanged to FILE\n"
           "\n"
           "Verbs:\n";
    std::vector<Verb> sorted;
    std::copy_if(registry().begin(), registry().end(), std::back_inserter(sorted),
                 [](const Verb& v) { return v.summary != nullptr; });
    std::sort(sorted.begin(), sorted.end(),
              [](const Verb& a, const Verb& b) { return qstrcmp(a.name, b.name) < 0; });
    qsizetype width = 0;
    for (const Verb& v : sorted)
        width = std::max(width, qsizetype(qstrlen(v.name)));
    for (const Verb& v : sorted)
        out << "  " << QString::fromLatin1(v.name).leftJustified(width) << "  " << v.summary << '\n';
    out << "\n'k4812ctl VERB --help' describes a verb.\n";
}

} // namespace

const std::vector<Verb>& registeredVerbs()
{
    return registry();
}

VerbRegistration::VerbRegistration(const Verb& verb)
{
    registry().push_back(verb);
}

Context::Context(GlobalOptions options, QTextStream& out, QTextStream& err)
    : m_options(std::move(options)), m_out(out), m_err(err)
{
}

Context::~Context() = default;

const DeviceSelection* Context::deviceSelection()
{
    if (!m_selectionResolved) {
        m_selectionResolved = true;
        QString error;
        m_selection = resolveDeviceSelection(m_options.device, error);
        if (!m_selection)
            fail(error);
    }
    return m_selection ? &*m_selection : nullptr;
}

TuiHIDData* Context::hid()
{
    TuiHIDData* device = link();
    if (device == nullptr || m_deviceLock)
        return device;
    QString error;
    m_deviceLock = LockDeviceForSequence(*device, cliPauser(), error);
    if (!m_deviceLock) {
        fail(error);
        return nullptr;
    }
    return device;
}

int Context::endSequence(int status)
{
    if (!m_deviceLock)
        return status;
    const QString problem = m_deviceLock->end();
    if (problem.isEmpty())
        return status;
    fail(problem);
    return status == kExitOk ? kExitFailure : status;
}

TuiHIDData* Context::link()
{
    if (m_hid)
        return m_hid.get();
    const DeviceSelection* selection = deviceSelection();
    if (selection == nullptr)
        return nullptr;
    QString error;
    std::unique_ptr<HidBackend> backend = createHidBackend(*selection, error);
    if (!backend) {
        fail(error);
        return nullptr;
    }
    if (!m_options.trace.isEmpty()) {
        // A trace that cannot be written stops the command before it reaches the mouse.
        const QString problem = TracingHidBackend::traceFileProblem(m_options.trace);
        if (!problem.isEmpty()) {
            fail(problem);
            return nullptr;
        }
        backend = std::make_unique<TracingHidBackend>(std::move(backend), m_options.trace, [this](const QString& text) {
            m_err << "k4812ctl: warning: " << text << "; the rest of the trace is lost\n";
            m_err.flush();
        });
    }
    const IniFile config = IniFile::fromFile(programFile(QStringLiteral("config.ini")));
    m_hid = std::make_unique<TuiHIDData>(std::move(backend), TuiHIDData::readIncludeList(config));
    return m_hid.get();
}

bool Context::windowIsOpen()
{
    const std::optional<qint64> window = SingleInstanceLock::runningHolder();
    if (!window)
        return false;
    fail(QStringLiteral("the configuration window is open (process %1); make the change there, or close the "
                        "window first: its next Apply would write over this change. Nothing was changed.")
             .arg(*window));
    return true;
}

int Context::fail(const QString& message)
{
    m_err << "k4812ctl: " << message << '\n';
    m_err.flush();
    return kExitFailure;
}

int Context::usageError(const QString& message)
{
    m_err << "k4812ctl: " << message << '\n';
    if (!verbUsage.isEmpty())
        m_err << "Usage: " << verbUsage << '\n';
    m_err.flush();
    return kExitUsage;
}

int runCli(const QStringList& args, QTextStream& out, QTextStream& err)
{
    GlobalOptions options;
    QStringList rest;
    bool wantHelp = false;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--device=")))
            options.device = arg.mid(9);
        else if (arg.startsWith(QLatin1String("--trace=")))
            options.trace = arg.mid(8);
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            wantHelp = true;
        else
            rest.append(arg);
    }
    if (rest.isEmpty()) {
        printGeneralHelp(wantHelp ? out : err);
        return wantHelp ? kExitOk : kExitUsage;
    }
    const Verb* verb = findVerb(rest.first());
    if (verb == nullptr) {
        err << "k4812ctl: unknown verb \"" << rest.first() << "\"\n";
        printGeneralHelp(err);
        return kExitUsage;
    }
    if (wantHelp) {
        out << "Usage: " << verb->usage << '\n';
        return kExitOk;
    }
    Context context(options, out, err);
    context.verbName = QString::fromLatin1(verb->name);
    context.verbUsage = QString::fromUtf8(verb->usage).section(QLatin1Char('\n'), 0, 0);
    rest.removeFirst();
    int status = verb->run(context, rest);
    status = context.endSequence(status);
    out.flush();
    err.flush();
    return status;
}

std::optional<unsigned> parseNumber(const QString& text, unsigned max)
{
    bool ok = false;
    unsigned long long value = 0;
    if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))) {
        if (text.size() == 2)
            return std::nullopt;
        value = text.mid(2).toULongLong(&ok, 16);
    } else {
        value = text.toULongLong(&ok, 10);
    }
    // toULongLong accepts a leading '+' or blanks; insist on digits only.
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')) || c == QLatin1Char('x')
            || c == QLatin1Char('X');
    });
    if (!ok || !plain || value > max)
        return std::nullopt;
    return unsigned(value);
}

QString hexBytes(const std::uint8_t* bytes, std::size_t count)
{
    // The trace line without its direction word.
    return TracingHidBackend::formatLine("", bytes, count).mid(1);
}

} // namespace k4812::cli
