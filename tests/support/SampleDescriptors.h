#pragma once
// Report descriptors written from the HID class definition, for tests.

#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

namespace k4812::test {

using Bytes = std::vector<std::uint8_t>;

// Hex digits to bytes; blanks between them are ignored.
inline Bytes fromHex(std::string hex)
{
    std::erase(hex, ' ');
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(std::uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline QByteArray toByteArray(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// The boot mouse: three buttons, X and Y (input 3 bytes).
inline const Bytes kBootMouse =
    fromHex("05010902a1010901a100050919012903150025019503750181029501750581010501093009311581257f750895028106c0c0");

// The boot keyboard: modifiers, a reserved byte, six key codes (input 8
// bytes), five LEDs (output 1 byte).
inline const Bytes kBootKeyboard =
    fromHex("05010906a101050719e029e7150025017501950881029501750881019505750105081901290591029501750391019506750815"
            "0025650507190029658100c0");

// The K4812: a pointer (report 1, input 6 bytes) and the vendor
// configuration collection (usage page 0xFFA0, usage 1) with feature reports
// 2 to 6 of 16, 64, 1024, 2048 and 4096 bytes, report ID included.
inline const Bytes kK4812 =
    fromHex("05010902a10185010901a100050919012907150025017501950781029501810105010930093116018026ff7f751095028106"
            "09381581257f750895018106c0c0"
            "06a0ff0901a101150026ff0075088502950f0901b1028503953f0901b102850496ff030901b102850596ff070901b102"
            "850696ff0f0901b102c0");

} // namespace k4812::test
