#include "ProfileFileReader.h"

#include "records/RecordBytes.h"

#include "platform/storage/RegularFile.h"

#include <QFile>

namespace k4812::cli {

QString printable(const QString& text)
{
    QString shown;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            shown += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

void warn(Context& context, const QString& text)
{
    context.err() << "k4812ctl: warning: " << text << '\n';
}

std::unique_ptr<TMOUSEPROFILEINFO> readProfileFile(Context& context, const QString& path)
{
    constexpr qint64 kProfileSize = qint64(sizeof(TMOUSEPROFILEINFO));
    const RegularFileRead file = readRegularFile(path, kProfileSize);
    if (!file.read()) {
        context.fail(file.error);
        return nullptr;
    }
    const qint64 size = file.size;
    const QByteArray bytes = file.bytes.left(kProfileSize);
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
