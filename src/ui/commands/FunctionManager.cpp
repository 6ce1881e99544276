#include "ui/commands/FunctionManager.h"

#include "ui/commands/CommandSetting.h"

#include <cstring>
#include <limits>

namespace k4812 {

void TuiFunctionItem::RunIt()
{
    if (OnExecute)
        OnExecute(int(ItemID), m_buffer.isEmpty() ? nullptr : m_buffer.constData(), GetBufferSize());
}

bool TuiFunctionItem::SetBuffer(const void* ABuffer, std::uint32_t ABufferSize)
{
    if (ABufferSize == 0)
        return true;
    if (!ABuffer || ABufferSize > std::uint32_t(std::numeric_limits<int>::max()))
        return false;
    m_buffer = QByteArray(static_cast<const char*>(ABuffer), qsizetype(ABufferSize));
    return true;
}

bool TuiFunctionItem::GetBuffer(void* ABuffer) const
{
    if (!ABuffer)
        return false;
    if (!m_buffer.isEmpty())
        std::memcpy(ABuffer, m_buffer.constData(), std::size_t(m_buffer.size()));
    return true;
}

TuiFunctionItem& TuiFunctionManager::Add(const QString& name)
{
    auto item = std::make_unique<TuiFunctionItem>();
    if (name.isEmpty()) {
        const QString prefix = QStringLiteral("Item");
        const int n = FirstFreeNumber(prefix, [this](const QString& candidate) { return Find(candidate); });
        item->Name = prefix + QString::number(n);
        item->ItemID = std::uint32_t(n);
    } else {
        item->Name = name;
    }
    m_items.push_back(std::move(item));
    return *m_items.back();
}

TuiFunctionItem* TuiFunctionManager::Find(const QString& name) const
{
    for (const auto& item : m_items) {
        if (item->Name.compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    }
    return nullptr;
}

} // namespace k4812
