#pragma once
// The single-key dialog ("Edit Single Key..."): shows the key it was given,
// then the key of every key event recorded while it is open, press or
// release, so the last event's key wins; a release whose press came before
// the dialog opened does not count. The keys still reach the system.

#include "app/dialogs/KeyRecordingDialog.h"
#include "records/Records.h"

namespace k4812 {

class TFrmSingleKey final : public KeyRecordingDialog {
    Q_OBJECT
public:
    explicit TFrmSingleKey(QWidget* parent = nullptr, TuiHook::Environment hook = {});

    // The key shown and returned (virtual-key code, extended flag 0 or 1).
    void setSingleKey(const TSINGLEKEYINFO& key);
    TSINGLEKEYINFO FSingleKey{};

private:
    void startRecording() override;
    void stopRecording() override;
};

} // namespace k4812
