#pragma once
// What the help dialog needs from the program: the stored interface language
// (CurrentLanguage of the all-settings record), storing a new one, telling
// the monitor and the main window that it changed (message 7037), and
// opening a web address. The program's host uses the profile manager, the
// window-messages layer and the desktop's browser; tests use their own.

#include <QString>
#include <QUrl>

#include <functional>

namespace k4812 {

class HelpDialogHost {
public:
    virtual ~HelpDialogHost() = default;
    virtual int currentLanguage() const = 0;
    // CurrentLanguage := index, saved with the all-settings record; the
    // reason for the user when it could not be saved, else empty.
    virtual QString storeCurrentLanguage(int index) = 0;
    // UM_LANGUAGE_CHANGED to the monitor window, then to the main window.
    virtual void announceLanguageChanged() = 0;
    virtual void openLink(const QUrl& url) = 0;
};

class ProgramHelpDialogHost : public HelpDialogHost {
public:
    // Runs a store and returns when it has ended, throwing what it threw
    // (the window: on its storage thread, its input held meanwhile).
    using StoreRunner = std::function<void(const std::function<void()>& store)>;
    // Without a runner the store runs at once.
    explicit ProgramHelpDialogHost(StoreRunner runStore = {}) : m_runStore(std::move(runStore)) {}

    int currentLanguage() const override;
    QString storeCurrentLanguage(int index) override;
    void announceLanguageChanged() override;
    void openLink(const QUrl& url) override;

private:
    StoreRunner m_runStore;
};

} // namespace k4812
