#pragma once
// The create-macro dialog ("Create macro"): asks for the name of a new
// macro. OK (or Enter pressed and released in the name box) writes the new
// macro's first file into the macro folder and hands the name back, cut to
// 50 characters.
//
// The name box has the keyboard focus as soon as the dialog is active, so
// typing goes straight into it. A name that a macro of the manager's list
// already has writes nothing (that macro's file stays as it is; the manager
// selects it). An empty name writes nothing either and is handed back empty,
// which the manager ignores. A name no file can carry, or a folder that
// cannot be made, is reported and the dialog stays open for another name.

#include "app/dialogs/KeyDialogFrame.h"

#include <QStringList>

#include <functional>

namespace k4812 {

class TextBox;

class TFrmCreat final : public KeyDialogFrame {
    Q_OBJECT
public:
    using MessageSink = std::function<int(const QString&, const QString&)>;

    // `namesInList`: the names of the macros the manager already lists.
    TFrmCreat(const QString& macroPath, QStringList namesInList, QWidget* parent = nullptr,
              MessageSink message = {});

    QString FMacroPath;
    QString FMacroName;   // empty until OK
    TextBox* TextboxMacroName = nullptr;

    void accept() override;

protected:
    bool event(QEvent* event) override;

private:
    QStringList m_namesInList;
    MessageSink m_message;
    bool m_enterDown = false;
};

} // namespace k4812
