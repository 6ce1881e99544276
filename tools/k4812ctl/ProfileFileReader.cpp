#include "ProfileFileReader.h"

#include "records/RecordBytes.h"

#include <QFile>

namespace k4812::cli {

void warn(Context& context, const QString& text)
{
    context.err() << "k4812ctl: warning: " << text << '\n';
}

std::unique_ptr<TMOUSEPROFILEINFO> readProfileFile(Context& context, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        context.fail(QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString()));
        return nullptr;
    }
    constexpr qint64 kProfileSize = qint64(sizeof(TMOUSEPROFILEINFO));
    const qint64 size = file.size();
    const QByteArray bytes = file.read(kProfileSize);
    if (file.error() != QFileDevice::NoError) {
        context.fail(QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString()));
        return nullptr;
    }
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*profile, bytes);
    if (size < kProfileSize) {
        warn(context, QStringLiteral("\"%1\" is %2 bytes, shorter than a profile (%3 bytes); the rest is read as zeros")
                          .arg(path).arg(size).arg(kProfileSize));
    } else if (size > kProfileSize) {
        warn(context, QStringLiteral("\"%1\" is %2 bytes, longer than a profile (%3 bytes); the bytes after it are "
                                     "ignored")
                          .arg(path).arg(size).arg(kProfileSize));
    }
    const std::int32_t version = profile->ProfileHeader.FFileVersion;
    if (version != kProfileFileVersion)
        warn(context, QStringLiteral("\"%1\" has version %2, not %3").arg(path).arg(version).arg(kProfileFileVersion));
    return profile;
}

} // namespace k4812::cli
