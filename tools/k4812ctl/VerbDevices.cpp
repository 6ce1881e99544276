#include "VerbDevices.h"

#include "Cli.h"
#include "LanguageSetting.h"
#include "StoredLanguage.h"

#include "platform/desktop/PointerSettingsFactory.h"

#include <cstring>

namespace k4812::cli {

namespace {

QString hex4(unsigned value)
{
    return QString::asprintf("0x%04X", value);
}

bool isMouseCollection(const HidCollection& c)
{
    return c.usagePage == kMouseUsageAndPage.UsagePage && c.usage == kMouseUsageAndPage.Usage;
}

int runDevices(Context& context, const QStringList& args)
{
    if (!args.isEmpty())
        return context.usageError(QStringLiteral("devices takes no arguments"));
    TuiHIDData* hid = context.link();
    if (hid == nullptr)
        return kExitFailure;
    // The explanation is the window's dialog line, in the same language.
    const std::unique_ptr<LanguageSetting> setting = openLanguageSetting();
    const StoredLanguage language(*setting);
    const int status = listHidDevices(*hid, context.out(), context.err());
    // Where the System Setting page's values go on this desktop.
    context.out() << "Desktop pointer settings: " << createPointerSettings()->name() << '\n';
    return status;
}

const VerbRegistration kRegistration({
    "devices",
    "k4812ctl devices\n"
    "Lists every HID collection with its device node, usage page, usage, report lengths\n"
    "(feature, input, output, in bytes with the report ID) and hardware IDs. '*' marks the\n"
    "mouse's configuration interface as the device link would use it (usage page 0xFFA0,\n"
    "usage 1, passing config.ini's include list). Exit status 0 when the mouse is present\n"
    "and can be opened, 1 when not, with the reason: no mouse attached, or no access to it\n"
    "(and whether the udev rule 70-k4812.rules is installed). The last line names the\n"
    "desktop's pointer-settings back end (gnome, kde, sway, x11, journal or none), where the\n"
    "System Setting page's values go.",
    "list HID collections and find the mouse",
    &runDevices,
});

} // namespace

int listHidDevices(TuiHIDData& hid, QTextStream& out, QTextStream& err, const QStringList& ruleFolders)
{
    const auto explain = [&] {
        const QString why = explainMissingMouse(hid, ruleFolders);
        if (!why.isEmpty())
            err << "k4812ctl: " << why << '\n';
    };
    const std::vector<HidCollection> collections = hid.backend().enumerate();
    if (collections.empty()) {
        out << "No HID devices found.\n";
        out.flush();
        explain();
        return kExitFailure;
    }
    QStringList present;
    for (const HidCollection& c : collections) {
        const bool mouse = isMouseCollection(c);
        const bool qualifies = mouse && hid.passesIncludeList(c);
        out << (qualifies ? "* " : "  ") << QString::fromStdString(c.path) << "  usage page " << hex4(c.usagePage)
            << "  usage " << hex4(c.usage) << "  feature " << c.featureReportByteLength << "  input "
            << c.inputReportByteLength << "  output " << c.outputReportByteLength;
        if (mouse && !qualifies)
            out << "  (not in config.ini's include list)";
        out << '\n';
        for (const std::string& id : c.hardwareIds)
            out << "      " << QString::fromStdString(id) << '\n';
        if (!qualifies)
            continue;
        // Only the mouse's own interface is ever opened, never a keyboard's.
        int error = 0;
        if (hid.backend().open(c, error)) {
            present.append(QString::fromStdString(c.path));
        } else {
            err << "k4812ctl: cannot open " << QString::fromStdString(c.path) << ": " << std::strerror(error) << '\n';
        }
    }
    out << '\n';
    if (present.isEmpty()) {
        out << "K4812 configuration interface: not found\n";
        out.flush();
        explain();
        return kExitFailure;
    }
    out << "K4812 configuration interface: " << present.join(QStringLiteral(", ")) << '\n';
    return kExitOk;
}

} // namespace k4812::cli
