#include "app/ProgramRun.h"

#include "app/MainWindow.h"
#include "app/ProfilesAhead.h"
#include "app/ProgramOptions.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/SingleInstanceLock.h"
#include "platform/desktop/StorageThread.h"
#include "platform/desktop/TuiThread.h"
#include "emulator/HidBackendFactory.h"
#include "platform/hid/TracingHidBackend.h"
#include "platform/storage/IniFile.h"
#include "platform/storage/ProgramFolder.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"
#include "ui/dialogs/MessageDialog.h"
#include "ui/controls/FontSetupAhead.h"
#include "ui/controls/UiFont.h"
#include "ui/dialogs/MessagePrompter.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <optional>

namespace k4812 {

namespace {

int fail(const QString& message)
{
    QTextStream err(stderr);
    err << "k4812-config: " << message << Qt::endl;
    return kExitFailure;
}

std::unique_ptr<TuiHIDData> openDevice(const ProgramOptions& options, QString& error)
{
    const std::optional<DeviceSelection> selection = resolveDeviceSelection(options.device, error);
    if (!selection)
        return nullptr;
    std::unique_ptr<HidBackend> backend = createHidBackend(*selection, error);
    if (!backend)
        return nullptr;
    if (!options.trace.isEmpty()) {
        error = TracingHidBackend::traceFileProblem(options.trace);
        if (!error.isEmpty())
            return nullptr;
        backend = std::make_unique<TracingHidBackend>(std::move(backend), options.trace, [](const QString& text) {
            QTextStream(stderr) << "k4812-config: warning: " << text << "; the rest of the trace is lost" << Qt::endl;
        });
    }
    const IniFile config = IniFile::fromFile(programFile(QStringLiteral("config.ini")));
    return std::make_unique<TuiHIDData>(std::move(backend), TuiHIDData::readIncludeList(config));
}

// For a screenshot nobody answers a dialog: a message the window asks is
// rendered into the screenshot file instead of waiting, and answered Cancel,
// the answer that changes nothing.
class ScreenshotPrompter final : public MessagePrompter {
public:
    explicit ScreenshotPrompter(QString file) : m_file(std::move(file)) {}

    int ask(const MessagePrompt& prompt, QWidget* owner) override
    {
        TFrmMessageDialog dialog(owner);
        dialog.FCreateByOther = true;
        dialog.setTexts(prompt.title, prompt.text, prompt.secondLine);
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        QApplication::processEvents();
        m_shown = prompt;
        m_saved = dialog.grab().save(m_file, "PNG");
        dialog.close();
        return SkinDialog::kResultCancel;
    }

    const std::optional<MessagePrompt>& shown() const { return m_shown; }
    bool saved() const { return m_saved; }

private:
    QString m_file;
    std::optional<MessagePrompt> m_shown;
    bool m_saved = false;
};

int writeScreenshot(TK4812CfgMain& window, const QString& file)
{
    // Laid out and painted as on screen, without a window on the screen.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    const QPixmap shot = window.grab();
    window.close();
    if (!shot.save(file, "PNG"))
        return fail(QStringLiteral("cannot write the screenshot to %1").arg(file));
    return kExitOk;
}

// The icon drawn into the program at build time, else the icon theme's.
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/k4812-config-%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("k4812-config")) : icon;
}

void centre(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

int runProgram(const QStringList& args)
{
    // What main() began before the toolkit: taken first, so that whatever
    // this returns with, the load has ended and its lock goes with it.
    std::unique_ptr<ProfilesLoadedAhead> ahead = takeProfilesLoadedAhead();
    QString error;
    const std::optional<ProgramOptions> options = parseProgramOptions(args, error);
    if (!options) {
        QTextStream err(stderr);
        err << "k4812-config: " << error << "\n\n" << programUsage();
        return kExitUsage;
    }
    if (options->help) {
        QTextStream(stdout) << programUsage();
        return kExitOk;
    }
    const bool screenshot = !options->screenshot.isEmpty();
    QCoreApplication::setApplicationName(QLatin1String(kApplicationName));
    QGuiApplication::setApplicationDisplayName(QLatin1String(kApplicationTitle));
    // The window belongs to its menu entry: the entry's name (Wayland's app
    // id) and its icon (_NET_WM_ICON on X11). X11's WM_CLASS instance is the
    // program's name, "k4812-config", which the entry gives as StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(K4812_DESKTOP_FILE_NAME));
    QApplication::setWindowIcon(programIcon());
    useUiFontForApplication();

    // One copy at a time; a screenshot shows nothing and may run beside it.
    // The lock and the profiles come from main()'s start when it began them.
    std::unique_ptr<SingleInstanceLock> lock = ahead ? std::move(ahead->lock) : std::make_unique<SingleInstanceLock>();
    if (!screenshot && !lock->tryAcquire()) {
        if (lock->anotherInstance())
            return kExitOk;
        return fail(QStringLiteral("cannot take the single-instance lock: %1").arg(lock->errorString()));
    }

    // The profiles are loaded, and what start-up repairs is stored, on the
    // storage thread, which the window's later stores use too; or before,
    // while the toolkit started.
    std::unique_ptr<TDM> dm;
    if (ahead) {
        dm = std::move(ahead->dm);
        if (!dm)
            return fail(QStringLiteral("the profiles cannot be opened: %1").arg(ahead->error));
    } else {
        try {
            StorageThread::shared().run([&dm] { dm = std::make_unique<TDM>(); });
        } catch (const StorageError& e) {
            return fail(QStringLiteral("the profiles cannot be opened: %1").arg(e.message()));
        }
    }
    for (const QString& notice : dm->notices())
        QTextStream(stderr) << "k4812-config: " << notice << Qt::endl;

    std::unique_ptr<TuiHIDData> hid = openDevice(*options, error);
    if (!hid)
        return fail(error);

    TK4812CfgMain::Services services;
    services.receiveMessages = !screenshot;
    services.startMonitor = !screenshot;
    services.reportStartupRepairs = !screenshot;
    services.offerMouseSettings = !screenshot;
    ScreenshotPrompter screenshotPrompter(options->screenshot);
    std::optional<ScopedMessagePrompter> prompterInPlace;
    if (screenshot)
        prompterInPlace.emplace(screenshotPrompter);
    waitForFontSetup();
    TK4812CfgMain window(*dm, *hid, std::move(services));
    if (!window.FormCreate()) {
        // No mouse: the dialog has been shown (for a screenshot, rendered); nothing was written.
        if (screenshot && screenshotPrompter.shown()) {
            if (!screenshotPrompter.saved())
                return fail(QStringLiteral("cannot write the screenshot to %1").arg(options->screenshot));
            return fail(QStringLiteral("%1 %2: the screenshot %3 shows this dialog")
                            .arg(screenshotPrompter.shown()->title, screenshotPrompter.shown()->text.trimmed(),
                                 options->screenshot));
        }
        return kExitFailure;
    }
    if (screenshot)
        return writeScreenshot(window, options->screenshot);

    centre(window);
    window.show();
    const int status = QApplication::exec();
    // The pointer settings of the last apply run on a worker; let it finish.
    TuiThread::waitForAll();
    return status;
}

} // namespace k4812
