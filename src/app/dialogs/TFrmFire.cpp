#include "app/dialogs/TFrmFire.h"

#include "profiles/ButtonAssignment.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinLabel.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace k4812 {

namespace {

NumberBox* numberBox(QWidget* parent, const char* name, int y)
{
    auto* box = new NumberBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, 255);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setGeometry(150, y, 80, 30);
    return box;
}

// The number the box shows, also when typing has not been committed yet;
// a fraction is cut to its whole part, as the value is stored whole.
int shownNumber(const NumberBox& box)
{
    bool ok = false;
    const double typed = box.text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed))
        return box.value();
    return std::clamp(int(std::clamp(std::trunc(typed), -1e6, 1e6)), box.minimum(), box.maximum());
}

} // namespace

TFrmFire::TFrmFire(QWidget* parent) : KeyDialogFrame("TFrmFire", "Fire Settings", parent)
{
    SkinLabel* fire = addLabel("LabelFire", "Fire:", QRect(60, 64, 85, 30));
    NumBoxFire = numberBox(this, "NumBoxFire", 64);
    fire->setBuddy(NumBoxFire);
    SkinLabel* delay = addLabel("LabelDelay", "Delay:", QRect(60, 110, 85, 30));
    NumboxDelay = numberBox(this, "NumboxDelay", 110);
    delay->setBuddy(NumboxDelay);
    addLabel("LabelTimes10", "*10", QRect(238, 110, 30, 30));
    addLabel("LabelMs", "ms", QRect(270, 110, 40, 30));
    setFireKeyInfo(FFireKeyInfo);
}

void TFrmFire::setFireKeyInfo(const TFIREKEYINFO& fire)
{
    FFireKeyInfo = fire;
    if (fire.nLoopCount != 0) {
        NumBoxFire->setValue(std::clamp<int>(fire.nLoopCount, kFireCountMin, kFireCountMax));
        NumboxDelay->setValue(std::clamp<int>(fire.DelyValue, kFireDelayMin, kFireDelayMax));
    } else {
        NumBoxFire->setValue(kDefaultCount);
        NumboxDelay->setValue(kDefaultDelay);
    }
}

void TFrmFire::accept()
{
    FFireKeyInfo.nLoopCount = std::uint16_t(shownNumber(*NumBoxFire));
    FFireKeyInfo.DelyValue = std::uint16_t(shownNumber(*NumboxDelay));
    KeyDialogFrame::accept();
}

} // namespace k4812
