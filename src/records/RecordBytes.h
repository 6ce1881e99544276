#pragma once
// Moving records as whole byte blocks, the only way they are stored or copied.

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

namespace k4812 {

// A record on the heap with every byte zero, as a new store holds it.
// (The profile record is 110 KB: too large to pass around on the stack.)
template <class Record>
std::unique_ptr<Record> makeZeroRecord()
{
    static_assert(std::is_trivially_copyable_v<Record>);
    auto record = std::make_unique_for_overwrite<Record>();
    std::memset(record.get(), 0, sizeof(Record));
    return record;
}

template <class Record>
QByteArray recordToBytes(const Record& record)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    return QByteArray(reinterpret_cast<const char*>(&record), qsizetype(sizeof(Record)));
}

// Copies min(bytes.size(), sizeof(Record)) bytes into the record and leaves
// the rest of it as it was. Returns the number of bytes copied.
template <class Record>
std::size_t copyBytesIntoRecord(Record& record, QByteArrayView bytes)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    const std::size_t n = std::min(std::size_t(bytes.size()), sizeof(Record));
    if (n > 0)   // an empty view may have no data pointer at all
        std::memcpy(&record, bytes.data(), n);
    return n;
}

} // namespace k4812
