#include "ui/commands/CommandSetting.h"

namespace k4812 {

int FirstFreeNumber(const QString& prefix, const std::function<bool(const QString&)>& taken)
{
    int n = 1;
    while (taken(prefix + QString::number(n)))
        ++n;
    return n;
}

QString TuiCommandSetting::NewCommandName() const
{
    const QString prefix = QStringLiteral("Command");
    return prefix + QString::number(FirstFreeNumber(prefix, [this](const QString& name) { return Find(name); }));
}

TuiCommand& TuiCommandSetting::Add(const QString& name)
{
    auto command = std::make_unique<TuiCommand>();
    command->Name = name.isEmpty() ? NewCommandName() : name;
    m_commands.push_back(std::move(command));
    return *m_commands.back();
}

TuiCommand* TuiCommandSetting::Find(const QString& name) const
{
    for (const auto& command : m_commands) {
        if (command->Name.compare(name, Qt::CaseInsensitive) == 0)
            return command.get();
    }
    return nullptr;
}

bool TuiCommandSetting::Run(TuiGetSet type, void* buffer, std::uint32_t size)
{
    // Handlers may add commands; the ones present at the start run.
    const std::size_t count = m_commands.size();
    for (std::size_t i = 0; i < count && i < m_commands.size(); ++i) {
        const TOnGetAndSetSetting handler = m_commands[i]->OnExecute; // a copy: the handler may replace itself
        if (handler)
            handler(type, buffer, size);
    }
    return true;
}

bool TuiCommandSetting::GetData(void* Buffer, std::uint32_t BufferSize)
{
    return Run(TuiGetSet::uiGet, Buffer, BufferSize);
}

bool TuiCommandSetting::SetData(void* Buffer, std::uint32_t BufferSize)
{
    return Run(TuiGetSet::uiSet, Buffer, BufferSize);
}

} // namespace k4812
