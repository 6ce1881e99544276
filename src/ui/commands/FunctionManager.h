#pragma once
// TuiFunctionManager: named function items, each with a parameter buffer of
// its own and a handler that receives it. A popup menu may be linked to an
// item so that its clicks carry that buffer.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace k4812 {

using TuiFunctionItemEvent = std::function<void(int AFunctionID, const void* BufferPointer, std::uint32_t Size)>;

class TuiFunctionItem {
public:
    QString Name;
    QString Caption;
    QString Hint;
    QString Data;
    QString Description;
    QString ShortDescription;
    std::uint32_t ItemID = 0;
    TuiFunctionItemEvent OnExecute;

    // Calls the handler with (ItemID, the buffer, its size) when there is one.
    void RunIt();
    // Takes a copy of ABufferSize bytes; a size of 0 changes nothing. A
    // missing buffer with a size is refused (false), keeping the old one.
    bool SetBuffer(const void* ABuffer, std::uint32_t ABufferSize);
    // Copies BufferSize bytes into ABuffer (nothing when empty); false
    // without a target.
    bool GetBuffer(void* ABuffer) const;
    std::uint32_t GetBufferSize() const { return std::uint32_t(m_buffer.size()); }
    const QByteArray& Buffer() const { return m_buffer; }

private:
    QByteArray m_buffer;
};

class TuiFunctionManager {
public:
    // Appends an item. Without a name it is called "Item" and the smallest
    // n >= 1 no item has (without regard to case), and its ItemID is n.
    TuiFunctionItem& Add(const QString& name = {});
    int Count() const { return int(m_items.size()); }
    TuiFunctionItem& Items(int index) { return *m_items.at(std::size_t(index)); }
    TuiFunctionItem* Find(const QString& name) const;

private:
    std::vector<std::unique_ptr<TuiFunctionItem>> m_items;
};

} // namespace k4812
