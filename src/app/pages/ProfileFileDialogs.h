#pragma once
// The open and save dialogs of "Load from file" and "Save to file", behind an
// interface so that tests answer them without a person. Both filter on
// "pfd (*.pfd)" and start in the given folder; the save dialog replaces an
// existing file without asking and gives a name without suffix ".pfd".

#include <QString>

#include <memory>

class QWidget;

namespace k4812 {

class ProfileFileDialogs {
public:
    virtual ~ProfileFileDialogs() = default;
    // The chosen file, or an empty text when the dialog was cancelled.
    virtual QString openProfileFile(QWidget* parent, const QString& folder) = 0;
    virtual QString saveProfileFile(QWidget* parent, const QString& folder) = 0;
};

// The desktop's file dialogs.
std::unique_ptr<ProfileFileDialogs> makeDesktopProfileFileDialogs();

} // namespace k4812
