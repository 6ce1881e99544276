#pragma once
// The frame the four key dialogs share: a borderless 446 x 230 modal dialog
// on the dialog skin ("messagedialog.png", OK and CANCEL faces "DLG-OK-1/2/3"
// of the group "dialog"), a title in its top bar, and OK and CANCEL at the
// bottom. OK closes with 1; CANCEL, Escape and closing the window with 2. A
// dialog that must check its values first overrides accept().

#include "ui/windows/SkinDialog.h"

namespace k4812 {

class SkinButton;
class SkinLabel;

class KeyDialogFrame : public SkinDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 446;
    static constexpr int kHeight = 230;

    // `title` and the other texts are English; they are shown translated.
    KeyDialogFrame(const char* objectName, const char* title, QWidget* parent);

    SkinButton* okButton() const { return m_ok; }
    SkinButton* cancelButton() const { return m_cancel; }

    void accept() override;

protected:
    // A caption on the dialog at `geometry`, shown translated.
    SkinLabel* addLabel(const char* objectName, const char* text, const QRect& geometry);

private:
    SkinButton* m_ok = nullptr;
    SkinButton* m_cancel = nullptr;
};

} // namespace k4812
