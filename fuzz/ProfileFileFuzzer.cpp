// libFuzzer target: a profile file (.pfd) from outside, as the program takes
// one in two ways.
//  1. Import into a store: the bytes load into a TuiProfile unchanged, the
//     file and field checks decide, and an accepted file encodes for the
//     mouse and uploads into an emulated bank.
//  2. The profile manager's start: the bytes are Profile1.pfd of a user's
//     profile folder. A file of at least a profile's length whose fields
//     pass the checks is kept byte for byte; any other is moved aside
//     unchanged and replaced by the factory profile. Either
//     way the current profile then goes through the apply's upload.

#include "FuzzSupport.h"

#include "sequences/ApplySequence.h"
#include "platform/storage/StorageError.h"
#include "profiles/Profile.h"
#include "profiles/ProfileManager.h"
#include "records/RecordBytes.h"
#include "profiles/RecordChecks.h"

#include <QDir>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace k4812;

namespace {

void uploadToEmulatedMouse(const TMOUSEPROFILEINFO& profile)
{
    std::unique_ptr<TuiHIDData> mouse = fuzz::emulatedMouse();
    fuzz::SilentHost host;
    std::vector<ApplyStepResult> steps;
    EncodingNotes notes;
    UploadProfile(*mouse, host, profile, 0, steps, &notes);
    for (const ApplyStepResult& step : steps) {
        if (step.error != 0)
            std::abort(); // the emulated mouse takes every block an encoder makes
    }
}

void importIntoStore(const QByteArray& bytes)
{
    const QString file = fuzz::scratchFolder() + QStringLiteral("/import.pfd");
    fuzz::writeWholeFile(file, bytes);
    TuiProfile store;
    if (!store.LoadStreamFromFile(file) || store.stream() != bytes)
        std::abort();
    if (!profileBytesProblem(store.stream()).isEmpty())
        return;
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*profile, store.stream());
    uploadToEmulatedMouse(*profile);
}

void loadAtStart(const QByteArray& bytes)
{
    const QString home = fuzz::scratchFolder() + QStringLiteral("/home");
    const QString profiles = home + QStringLiteral("/Documents/Gaming Mouse Profiles");
    const QString file = profiles + QStringLiteral("/Profile1.pfd");
    TDM::Options options;
    options.registryPath = home + QStringLiteral("/registry.sqlite3");
    options.documentsFolder = home + QStringLiteral("/Documents");
    options.configFile = home + QStringLiteral("/config.ini");
    options.languageId = QStringLiteral("0409");

    // The first start writes the profile folder and the registry; later
    // inputs find them there, as a second start would.
    QDir().mkpath(profiles);
    for (const QString& aside : QDir(profiles).entryList({QStringLiteral("Profile1.pfd.damaged-*")}, QDir::Files))
        QFile::remove(profiles + QLatin1Char('/') + aside);
    fuzz::writeWholeFile(file, bytes);

    // At start the length and the fields count (the version is not checked
    // there: the factory-test profile carries another); an import checks all three.
    bool acceptable = bytes.size() >= qsizetype(sizeof(TMOUSEPROFILEINFO));
    if (acceptable) {
        auto record = makeZeroRecord<TMOUSEPROFILEINFO>();
        copyBytesIntoRecord(*record, bytes);
        acceptable = profileRecordProblem(*record).isEmpty();
    }
    try {
        TDM dm(options);
        if (dm.FProfileIndex() != 0)
            std::abort(); // Mode 1 with Profile 1, unless the registry was changed
        const QStringList aside =
            QDir(profiles).entryList({QStringLiteral("Profile1.pfd.damaged-*")}, QDir::Files);
        if (acceptable) {
            // Kept as it is, extra bytes included.
            if (!aside.isEmpty() || fuzz::readWholeFile(file) != bytes || dm.FProfileGroup(0)->stream() != bytes)
                std::abort();
        } else {
            // Nothing the user had is lost: the refused bytes sit beside the new file.
            if (aside.size() != 1 || fuzz::readWholeFile(profiles + QLatin1Char('/') + aside[0]) != bytes)
                std::abort();
            if (!profileBytesProblem(fuzz::readWholeFile(file)).isEmpty())
                std::abort(); // the new file holds the factory profile
        }
        uploadToEmulatedMouse(dm.FCurrentProfileInfo());
    } catch (const StorageError&) {
        std::abort(); // the folder is ours and writable: no storage failure is expected
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    importIntoStore(bytes);
    loadAtStart(bytes);
    return 0;
}
