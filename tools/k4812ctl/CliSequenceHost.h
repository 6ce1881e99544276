#pragma once
// The command line's side of the device sequences: it sleeps for the pauses
// (the mouse needs them; tests put a recording pauser in place, see
// CliPauser.h), prints a line per step of an apply, and prints the warnings
// that the window would show in a dialog.

#include "Cli.h"

#include "sequences/SequenceHost.h"

#include <QStringList>
#include <memory>

namespace k4812::cli {

class CliSequenceHost final : public SequenceHost {
public:
    explicit CliSequenceHost(Context& context) : m_context(context) {}

    void pause(int milliseconds) override;
    void showWarning(const QString& title, const QString& text) override;
    void showNote(const QString& text) override;
    void applyStepDone(const ApplyStepResult& result) override;

    // The desktop's back end, wrapped so that what it could not set is known.
    std::shared_ptr<PointerSettings> pointerSettings() override;

    bool warned() const { return m_warned; }
    // The pointer settings the desktop could not take ("pointer speed", …);
    // read once the worker that applies them has ended.
    QStringList pointerSettingFailures() const;

private:
    Context& m_context;
    bool m_warned = false;
    std::shared_ptr<class CheckedPointerSettings> m_pointerSettings;
};

// "done", or "failed: " and the error's text.
QString outcomeText(int error);

} // namespace k4812::cli
