#pragma once
// The combination dialog ("Edit Combo Key..."): shows the combination it was
// given, then every combination recorded while it is open (up to two keys
// and the modifiers held; modifier keys alone record nothing).

#include "app/dialogs/KeyRecordingDialog.h"
#include "records/Records.h"

namespace k4812 {

class TFrmCombo final : public KeyRecordingDialog {
    Q_OBJECT
public:
    explicit TFrmCombo(QWidget* parent = nullptr, TuiHook::Environment hook = {});

    void setComboKey(const TCOMBOKEYINFO& combo);
    TCOMBOKEYINFO FComboKey{};

    // What the box shows for a given combination before anything is recorded:
    // "Alt+Ctrl+C", "Ctrl+A+B"; empty when neither key has a name.
    static QString comboKeyInputText(const TCOMBOKEYINFO& combo);

private:
    void startRecording() override;
    void stopRecording() override;
};

} // namespace k4812
