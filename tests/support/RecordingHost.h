#pragma once
// A SequenceHost that never waits and remembers everything the window would
// have done: each pause with its place in the mouse's report log, the
// progress indicator, warnings, the saved light and the monitor messages.
// The pointer settings go to a journal file.

#include "sequences/SequenceHost.h"
#include "platform/desktop/JournalPointerSettings.h"
#include "platform/storage/StorageError.h"

#include "RecordingPauser.h"

#include <functional>
#include <optional>
#include <vector>

namespace k4812::test {

class RecordingHost final : public SequenceHost {
public:
    struct Message {
        bool sent;   // SendMessage; false for PostMessage
        WindowMessage message;
        std::size_t position;
        bool operator==(const Message&) const = default;
    };

    RecordingHost(std::function<std::size_t()> position, QString journal)
        : pauser(position), m_position(std::move(position)), m_journal(std::move(journal))
    {
    }

    // Each store is listed with the mouse's report-log length at its start;
    // with `failStores` set, the stores after the first `storesBeforeFailure`
    // fail with that message without running.
    void runStorage(const std::function<void()>& store) override
    {
        stores.push_back(m_position());
        if (failStores && stores.size() > storesBeforeFailure)
            throw StorageError(*failStores);
        store();
    }
    void pause(int milliseconds) override { pauser.pause(milliseconds); }
    void processMessages() override { ++messageRuns; }
    void showProgress(bool visible) override { progress.push_back(visible); }
    void showWarning(const QString& title, const QString& text) override { warnings.push_back({title, text}); }
    void showNote(const QString& text) override { notes.push_back(text); }
    void applyStepDone(const ApplyStepResult& result) override { steps.push_back(result); }
    void setPreSavedLedConfig(const TLEDCONFIG& light) override { preSavedLight = light; }
    void currentProfileChanged() override { ++profileChanges; }

    SendResult sendToMonitor(const WindowMessage& message) override { return toMonitor(true, message); }
    SendResult postToMonitor(const WindowMessage& message) override { return toMonitor(false, message); }

    std::shared_ptr<PointerSettings> pointerSettings() override
    {
        return std::make_shared<JournalPointerSettings>(m_journal);
    }

    // When set, the monitor operations go through the window-messages layer
    // (the base class) instead of being recorded only.
    bool realMonitor = false;

    std::vector<std::size_t> stores;
    std::optional<QString> failStores;
    std::size_t storesBeforeFailure = 0;
    RecordingPauser pauser;
    int messageRuns = 0;
    int profileChanges = 0;
    std::vector<bool> progress;
    std::vector<std::pair<QString, QString>> warnings;
    std::vector<QString> notes;
    std::vector<ApplyStepResult> steps;
    std::optional<TLEDCONFIG> preSavedLight;
    std::vector<Message> monitor;

private:
    SendResult toMonitor(bool send, const WindowMessage& message)
    {
        monitor.push_back({send, message, m_position()});
        if (realMonitor)
            return send ? SequenceHost::sendToMonitor(message) : SequenceHost::postToMonitor(message);
        SendResult result;
        result.status = SendStatus::Answered;
        return result;
    }

    std::function<std::size_t()> m_position;
    QString m_journal;
};

} // namespace k4812::test
