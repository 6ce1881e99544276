#pragma once
// The fire-settings dialog ("Fire Settings"): how many times a fire key
// repeats ("Fire:", 1-255) and the pause between repeats ("Delay:", 1-255
// units of 10 ms). It starts from the values it is given, or from 2 and 60
// when the given count is 0; OK takes both numbers, CANCEL leaves them.

#include "app/dialogs/KeyDialogFrame.h"
#include "records/Records.h"

namespace k4812 {

class NumberBox;

class TFrmFire final : public KeyDialogFrame {
    Q_OBJECT
public:
    static constexpr int kDefaultCount = 2;
    static constexpr int kDefaultDelay = 60;

    explicit TFrmFire(QWidget* parent = nullptr);

    void setFireKeyInfo(const TFIREKEYINFO& fire);
    TFIREKEYINFO FFireKeyInfo{};

    NumberBox* NumBoxFire = nullptr;
    NumberBox* NumboxDelay = nullptr;

    void accept() override;
};

} // namespace k4812
