#include "app/dialogs/TFrmCombo.h"

#include "wire/KeyCodeTable.h"
#include "ui/controls/TextBox.h"
#include "uiHook/DesktopKeyState.h"

namespace k4812 {

namespace {

// The modifiers held count as the desktop knows them, also one pressed
// before the dialog opened.
TuiHook::Environment withDesktopModifiers(TuiHook::Environment hook)
{
    if (!hook.keyHeld)
        hook.keyHeld = desktopModifierHeld;
    return hook;
}

} // namespace

TFrmCombo::TFrmCombo(QWidget* parent, TuiHook::Environment hook)
    : KeyRecordingDialog("TFrmCombo", "Edit Combo Key...",
                         "it can be a Win, Ctrl, Shift, Alt + any of the keyboard keys.", "TextCombo",
                         withDesktopModifiers(std::move(hook)), parent)
{
    this->hook().OnRecordKeyboardComboKey = [this](int Key1, int Key1Extended, int Key2, int Key2Extended,
                                                   int Modifier, const QString& ComboKeyString) {
        keyBox()->setText(ComboKeyString);
        FComboKey = TCOMBOKEYINFO{std::uint16_t(Key1), std::uint16_t(Key1Extended), std::uint16_t(Key2),
                                  std::uint16_t(Key2Extended), std::uint16_t(Modifier)};
    };
}

QString TFrmCombo::comboKeyInputText(const TCOMBOKEYINFO& combo)
{
    QString text;
    const QString key1 = KeyNameOf(combo.nKeyValue1, combo.nKey1Extended);
    if (!key1.isEmpty())
        text = ModifierText(combo.nModifier) + key1;
    const QString key2 = KeyNameOf(combo.nKeyValue2, combo.nKey2Extended);
    if (!key2.isEmpty())
        text += QLatin1Char('+') + key2;
    return text;
}

void TFrmCombo::setComboKey(const TCOMBOKEYINFO& combo)
{
    FComboKey = combo;
    keyBox()->setText(comboKeyInputText(combo));
}

void TFrmCombo::startRecording()
{
    hook().RecordKeyboardComboKey();
}

void TFrmCombo::stopRecording()
{
    hook().StopRecordKeyboardComboKey();
}

} // namespace k4812
