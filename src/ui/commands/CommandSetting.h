#pragma once
// TuiCommandSetting: named commands that fill a window from a settings
// buffer (SetData) or read the window into one (GetData), run in order. The
// main window fills all its pages with one SetData whenever the current
// profile changes.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace k4812 {

enum class TuiGetSet { uiGet = 0, uiSet = 1 };

using TOnGetAndSetSetting = std::function<void(TuiGetSet AType, void* Buffer, std::uint32_t BufferSize)>;

struct TuiCommand {
    QString Name;
    QString Description;
    TOnGetAndSetSetting OnExecute;
};

class TuiCommandSetting {
public:
    // Appends a command. Without a name it is called "Command" and the
    // smallest n >= 1 no command has (names compared without regard to case).
    TuiCommand& Add(const QString& name = {});
    int Count() const { return int(m_commands.size()); }
    TuiCommand& Commands(int index) { return *m_commands.at(std::size_t(index)); }
    // The first command of that name (without regard to case), or nullptr.
    TuiCommand* Find(const QString& name) const;
    void Clear() { m_commands.clear(); }

    // Each command with a handler, in order, with uiGet / uiSet; true. The
    // commands a handler adds run from the next call on.
    bool GetData(void* Buffer, std::uint32_t BufferSize);
    bool SetData(void* Buffer, std::uint32_t BufferSize);

    // "Command1", "Command2", ...: the first free one.
    QString NewCommandName() const;

private:
    bool Run(TuiGetSet type, void* buffer, std::uint32_t size);

    std::vector<std::unique_ptr<TuiCommand>> m_commands;
};

// The smallest n >= 1 for which prefix + n is not among `taken(name)`.
int FirstFreeNumber(const QString& prefix, const std::function<bool(const QString&)>& taken);

} // namespace k4812
