#pragma once
// A pointer-settings back end for tests and demonstrations: it changes
// nothing on the desktop and appends one line per setting to a journal file,
// in Windows' own terms:
//   SPI_SETMOUSE <first threshold> <second threshold> <acceleration>
//   SPI_SETMOUSESPEED <speed>
//   SPI_SETWHEELSCROLLLINES <lines>
//   SPI_SETDOUBLECLICKTIME <milliseconds>
// Every setting counts as applied once its line is written; a journal that
// cannot be written makes it Failed. Lines from several threads never mix.

#include "platform/desktop/PointerSettings.h"

namespace k4812 {

class JournalPointerSettings final : public PointerSettings {
public:
    explicit JournalPointerSettings(QString journalFile);

    QString name() const override { return QStringLiteral("journal"); }
    // Every setting: the journal takes them all.
    PointerSettingSupport support(PointerSetting) const override { return PointerSettingSupport::yes(); }
    QString journalFile() const { return m_journalFile; }

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;

private:
    PointerSettingResult append(PointerSetting setting, const QString& line);

    QString m_journalFile;
};

} // namespace k4812
