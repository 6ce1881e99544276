#pragma once
// THelpForm, the help dialog: the program's version, its licence notice, the
// web links of the edition that has them (HelpLinks.h) and the selector of
// the interface language. Choosing a language switches it at once, stores
// it and tells the monitor and the main window (HelpDialogHost.h).

#include "ui/controls/GlyphWarmer.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/dialogs/HelpLinks.h"
#include "ui/windows/SkinDialog.h"

#include <QList>

class QComboBox;
class QLabel;

namespace k4812 {


class SkinButton;
class SkinLabel;
class TuiLanguage;

class THelpForm : public SkinDialog {
    Q_OBJECT
public:
    static constexpr int kSize = 446;

    THelpForm(TuiLanguage& language, HelpDialogHost& host, const QList<HelpLink>& links, QWidget* parent = nullptr);

    // "Version Number 1.0.0.0" in the interface language, with this
    // program's version in place of the number.
    static QString versionText();
    // `text`, a translation of "Version Number 1.0.0.0", with this program's version.
    static QString withVersion(QString text);

    SkinLabel* LabelTitle;
    SkinLabel* Label1;
    SkinLabel* LabelLegal1;
    SkinLabel* LabelLegal2;
    QList<QLabel*> LinkLabels; // Labelwebsite, LabelWebSite2, LabelWebSite3, LabelWebSite4
    SkinLabel* LabelLanguage;
    QComboBox* PopBoxLanguage;
    SkinButton* BTNOK;

    TuiLanguage& FLanguage;

    // The user picked language `index` in the selector.
    void PopBoxLanguageChange(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillLanguageSelector();
    void retranslate();
    // Starts preparing the fonts and glyphs of the languages not shown now (GlyphWarmer.h).
    void prepareOtherLanguages();

    HelpDialogHost& m_host;
    QList<HelpLink> m_links;
    GlyphWarmer m_warmer;
};

// Shows the help dialog for the main window's language component, with the
// links config.ini gives; returns the modal result. The language the user
// chooses is stored through `runStore` (ProgramHelpDialogHost).
int ShowHelpDialog(TuiLanguage& language, QWidget* owner = nullptr, ProgramHelpDialogHost::StoreRunner runStore = {});

} // namespace k4812
