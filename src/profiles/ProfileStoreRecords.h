#pragma once
// Whole-record copies between a profile store's byte stream and a record, as
// the profile manager uses them: a record is read over zeros, written whole,
// and reset to a zero record of its own size.

#include "profiles/Profile.h"
#include "records/RecordBytes.h"

#include <QByteArray>

#include <cstring>

namespace k4812::storerecords {

// Copies the store's bytes into the record; what the store does not cover
// is zero, never left over from an earlier profile.
template <class Record>
void readStore(const TuiProfile& store, Record& record)
{
    std::memset(&record, 0, sizeof record);
    store.Read(&record, int(sizeof record));
}

template <class Record>
void writeStore(TuiProfile& store, const Record& record)
{
    store.Write(&record, int(sizeof record));
}

// Replaces whatever the store holds by a zero record of the right size.
template <class Record>
void resetStore(TuiProfile& store)
{
    store.setSize(0);
    writeStore(store, *makeZeroRecord<Record>());
}

// Keeps a bookkeeping store that loaded and passed its checks; otherwise
// starts it over from the factory settings and saves them to the registry.
template <class Record>
void useStoreOrDefaults(TuiProfile& store, bool usable)
{
    if (usable)
        return;
    resetStore<Record>(store);
    store.RestoreToDefault();
    store.SaveStreamToRegistry();
}

// A restore handler's frame: the buffer's bytes in a record (zero where the
// buffer is shorter), the defaults applied, and the record written back over
// the start of the buffer, which grows when needed and never shrinks.
template <class Record, class Apply>
void restoreInStream(QByteArray& stream, Apply apply)
{
    auto record = makeZeroRecord<Record>();
    copyBytesIntoRecord(*record, stream);
    apply(*record);
    if (stream.size() < qsizetype(sizeof(Record)))
        stream.resize(qsizetype(sizeof(Record)));
    std::memcpy(stream.data(), record.get(), sizeof(Record));
}

} // namespace k4812::storerecords
