#pragma once
// TFrmMessageDialog, the program's message box: a title, a text and an
// optional second line beside the warning icon, with "OK" (result 1),
// "CANCEL" and the close button (result 2). The texts are shown as given;
// the caller translates them. Windows open it through ShowMessageDialog
// (MessagePrompter.h), never directly, so tests can answer it.

#include "ui/windows/SkinDialog.h"

namespace k4812 {

class ImageView;
class SkinButton;
class SkinLabel;

class TFrmMessageDialog : public SkinDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 458;
    static constexpr int kHeight = 246;

    explicit TFrmMessageDialog(QWidget* parent = nullptr);

    // Shows the texts. Both wrap (inside a word too, for long file paths) and
    // the dialog grows downwards from 458 x 246 until the whole text shows.
    void setTexts(const QString& title, const QString& text, const QString& secondLine);

    bool FCreateByOther = false;

    SkinLabel* LabelTitle;
    SkinLabel* LabelText;
    SkinLabel* LabelText1;
    ImageView* IMGWARNING;
    SkinButton* BTNOK;
    SkinButton* BTNCANCEL;
    SkinButton* BTNCLOSE;

private:
    void fitTexts();
};

} // namespace k4812
