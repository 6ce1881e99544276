#pragma once
// A fixed array of UTF-16LE code units inside a stored record.
//
// The records are packed, so text fields are kept as bytes (alignment 1):
// a reference to one is always safe to take. Reading stops at the first NUL
// or at the end of the array, whichever comes first, so a name that fills
// the whole array without a terminator is still read without overrun.

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace k4812 {

template <std::size_t Units>
struct Utf16Text {
    static_assert(Units >= 1);
    static constexpr std::size_t kUnits = Units;
    // Longest text that still leaves room for the terminating NUL.
    static constexpr std::size_t kMaxChars = Units - 1;

    std::uint8_t bytes[Units * 2];

    char16_t unitAt(std::size_t i) const
    {
        return char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }

    std::size_t length() const
    {
        std::size_t n = 0;
        while (n < Units && unitAt(n) != 0)
            ++n;
        return n;
    }

    QString toString() const
    {
        const std::size_t n = length();
        QString s(qsizetype(n), Qt::Uninitialized);
        for (std::size_t i = 0; i < n; ++i)
            s[qsizetype(i)] = QChar(unitAt(i));
        return s;
    }

    // Stores `text` with its NUL and zeroes the rest of the array. A text
    // longer than kMaxChars is cut to fit (never in the middle of a surrogate
    // pair); the result says whether the whole text fitted.
    bool assign(QStringView text)
    {
        std::size_t n = std::size_t(text.size());
        bool fitted = true;
        if (n > kMaxChars) {
            fitted = false;
            n = kMaxChars;
            if (n > 0 && text[qsizetype(n - 1)].isHighSurrogate())
                --n;
        }
        std::memset(bytes, 0, sizeof bytes);
        for (std::size_t i = 0; i < n; ++i) {
            const char16_t u = text[qsizetype(i)].unicode();
            bytes[2 * i] = std::uint8_t(u & 0xFF);
            bytes[2 * i + 1] = std::uint8_t(u >> 8);
        }
        return fitted;
    }

    bool operator==(const Utf16Text&) const = default;
};

} // namespace k4812
