#include "app/dialogs/TFrmSingleKey.h"

#include "wire/KeyCodeTable.h"
#include "ui/controls/TextBox.h"

namespace k4812 {

TFrmSingleKey::TFrmSingleKey(QWidget* parent, TuiHook::Environment hook)
    : KeyRecordingDialog("TFrmSingleKey", "Edit Single Key...", "it can be any key on the keyboard", "TextSingle",
                         std::move(hook), parent)
{
    this->hook().OnRecordKeyboardSingleKey = [this](int Key, std::uint32_t, int AState, int AKeyExtended,
                                                    const QString& SingleKeyString, bool&) {
        if (!keySeenHere(Key, AKeyExtended, AState))
            return;
        keyBox()->setText(SingleKeyString);
        FSingleKey = TSINGLEKEYINFO{std::uint16_t(Key), std::uint16_t(AKeyExtended)};
    };
}

void TFrmSingleKey::setSingleKey(const TSINGLEKEYINFO& key)
{
    FSingleKey = key;
    keyBox()->setText(KeyNameOf(key.nKeyValue1, key.nKey1Extended));
}

void TFrmSingleKey::startRecording()
{
    hook().RecordKeyboardSingleKey();
}

void TFrmSingleKey::stopRecording()
{
    hook().StopRecordKeyboardSingleKey();
}

} // namespace k4812
