#include "wire/DeviceDescriptionFormat.h"

#include "wire/ButtonEncoding.h"
#include "wire/MacroEncoding.h"

#include <QJsonArray>
#include <QTextStream>

namespace k4812 {

namespace {

QString hexByte(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString hexBytes(const std::uint8_t* bytes, std::size_t count)
{
    QStringList parts;
    for (std::size_t i = 0; i < count; ++i)
        parts << hexByte(bytes[i]);
    return parts.join(QLatin1Char(' '));
}

QString lightText(const TLEDCONFIG& light, bool withBreathSecond)
{
    QString text = QStringLiteral("R %1 G %2 B %3, brightness %4, breathing speed %5")
                       .arg(light.R).arg(light.G).arg(light.B).arg(light.BRIGHT_LEVEL).arg(light.BREATH_SPEED);
    if (withBreathSecond)
        text += QStringLiteral(", breath second %1").arg(light.BREATH_SECOND);
    return text;
}

QString rateText(int hertz, int code)
{
    return hertz > 0 ? QStringLiteral("%1 Hz").arg(hertz) : QStringLiteral("unknown code %1").arg(code);
}

bool levelHasData(const DecodedCpiLevel& level)
{
    return level.enabled != 0 || level.xCode != 0 || level.yCode != 0;
}

QString levelText(const DecodedCpiLevel& level)
{
    const auto cpi = [](int value, int code) {
        return value > 0 ? QStringLiteral("%1 (code %2)").arg(value).arg(code)
                         : QStringLiteral("unknown (code %1)").arg(code);
    };
    QString text = level.xCode == level.yCode ? cpi(level.xCpi, level.xCode) + QStringLiteral(" CPI")
                                              : QStringLiteral("X ") + cpi(level.xCpi, level.xCode)
                                                    + QStringLiteral(", Y ") + cpi(level.yCpi, level.yCode);
    if (level.enabled == 0)
        text += QStringLiteral(", disabled");
    else if (level.enabled != 1)
        text += QStringLiteral(", enabled (%1)").arg(level.enabled);
    return text;
}

void writeBank(QTextStream& out, const DecodedBank& bank)
{
    out << "bank " << bank.bank << " (Mode " << bank.bank + 1 << "):\n";
    for (const QString& problem : bank.problems)
        out << "  problem: " << problem << '\n';

    out << "  buttons: " << bank.buttonCount << '\n';
    for (const DecodedButton& b : bank.buttons) {
        out << "    " << b.entry << ": ";
        if (b.windowEntry > 0)
            out << "(window button " << b.windowEntry << ") ";
        out << b.text << '\n';
    }

    const DecodedCpi& cpi = bank.cpi;
    out << "  cpi: " << cpi.levelCount << " levels, active level " << cpi.activeLevel << '\n';
    for (int k = 0; k < int(cpi.levels.size()); ++k) {
        if (levelHasData(cpi.levels[k]) || k < cpi.levelCount)
            out << "    level " << k << ": " << levelText(cpi.levels[k]) << '\n';
    }

    out << "  light: " << lightText(bank.light, true) << '\n';

    out << "  macros:\n";
    for (const DecodedMacro& m : bank.macros) {
        if (!m.used) {
            out << "    block " << m.block << ": unused\n";
            continue;
        }
        out << "    block " << m.block << ": " << m.length << " bytes, " << m.actions.size() << " actions";
        if (m.loopCount > 0)
            out << ", loop count " << m.loopCount;
        out << '\n';
        for (const QString& problem : m.problems)
            out << "      problem: " << problem << '\n';
        for (const DecodedMacroAction& a : m.actions)
            out << "      " << a.text << '\n';
    }
}

QJsonObject keyJson(const DecodedKey& key)
{
    return QJsonObject{{"usage", key.usage}, {"name", key.name}};
}

QJsonObject lightJson(const TLEDCONFIG& light)
{
    return QJsonObject{{"r", light.R},
                       {"g", light.G},
                       {"b", light.B},
                       {"brightness", light.BRIGHT_LEVEL},
                       {"breathSpeed", light.BREATH_SPEED},
                       {"breathSecond", light.BREATH_SECOND}};
}

QJsonObject buttonJson(const DecodedButton& b)
{
    QJsonObject o{{"entry", b.entry},
                  {"windowButton", b.windowEntry},
                  {"code", b.code},
                  {"parameters", QJsonArray{b.parameters[0], b.parameters[1], b.parameters[2]}},
                  {"function", b.function},
                  {"text", b.text}};
    switch (b.code) {
    case kDeviceWheelUp:
    case kDeviceWheelDown:
        o["wheelParameter"] = b.wheelParameter;
        break;
    case kDeviceMediaKey:
        o["media"] = keyJson(b.media);
        o["mediaSecondValue"] = b.mediaSecondValue;
        break;
    case kDeviceKeyCombination:
        o["hidModifiers"] = b.hidModifiers;
        o["modifiers"] = b.modifierBits;
        o["key1"] = keyJson(b.key1);
        o["key2"] = keyJson(b.key2);
        break;
    case kDeviceSingleKey:
        o["key"] = keyJson(b.key1);
        break;
    case kDeviceMacro:
        o["macroBlock"] = b.macroBlock;
        o["macroLength"] = b.macroLength;
        break;
    case kDeviceFireKey:
        o["fireCount"] = b.fireCount;
        o["fireDelay"] = b.fireDelay;
        break;
    default:
        break;
    }
    return o;
}

QJsonObject actionJson(const DecodedMacroAction& a)
{
    QJsonObject o{{"bytes", hexBytes(a.bytes.data(), a.bytes.size())},
                  {"type", a.type},
                  {"state", a.state},
                  {"text", a.text}};
    if (a.type == kMacroTypeKey) {
        o["key"] = keyJson(a.key);
        o["extended"] = a.extendedFlag;
    } else if (a.type == kMacroTypeDelay) {
        o["delayMs"] = a.delayMs;
    }
    return o;
}

QJsonObject macroJson(const DecodedMacro& m)
{
    QJsonArray actions;
    for (const DecodedMacroAction& a : m.actions)
        actions.append(actionJson(a));
    return QJsonObject{{"block", m.block},
                       {"used", m.used},
                       {"length", m.length},
                       {"loopCount", m.loopCount},
                       {"actions", actions},
                       {"problems", QJsonArray::fromStringList(m.problems)}};
}

QJsonObject bankJson(const DecodedBank& bank)
{
    QJsonArray buttons;
    for (const DecodedButton& b : bank.buttons)
        buttons.append(buttonJson(b));
    QJsonArray levels;
    for (const DecodedCpiLevel& level : bank.cpi.levels) {
        levels.append(QJsonObject{{"enabled", level.enabled},
                                  {"xCode", level.xCode},
                                  {"yCode", level.yCode},
                                  {"xCpi", level.xCpi},
                                  {"yCpi", level.yCpi}});
    }
    QJsonArray macros;
    for (const DecodedMacro& m : bank.macros)
        macros.append(macroJson(m));
    return QJsonObject{
        {"bank", bank.bank},
        {"buttonCount", bank.buttonCount},
        {"buttons", buttons},
        {"cpi", QJsonObject{{"levelCount", bank.cpi.levelCount},
                            {"activeLevel", bank.cpi.activeLevel},
                            {"levels", levels}}},
        {"light", lightJson(bank.light)},
        {"macros", macros},
        {"problems", QJsonArray::fromStringList(bank.problems)},
    };
}

} // namespace

QString DeviceDescriptionText(const DeviceDescription& d)
{
    QString text;
    QTextStream out(&text);
    out << "active bank: " << d.activeBank << " (byte " << hexByte(d.activeBankByte) << ")\n";
    out << "report rate: bank 0 " << rateText(d.reportRateHz[0], d.reportRateCode[0]) << ", bank 1 "
        << rateText(d.reportRateHz[1], d.reportRateCode[1]) << " (byte " << hexByte(d.reportRateByte) << ")\n";
    out << "wheel light: " << (d.wheelLightOn ? "on" : "off") << ", wheel value " << d.wheelValue << " (byte "
        << hexByte(d.wheelLightByte) << ")\n";
    out << "last activation: "
        << (d.lastActivation ? hexBytes(d.lastActivation->data(), d.lastActivation->size()) : QStringLiteral("none"))
        << '\n';
    out << "light preview shown: " << (d.shownLight ? lightText(d.shownLight->light, false) : QStringLiteral("none"))
        << '\n';
    for (const DecodedBank& bank : d.banks)
        writeBank(out, bank);
    out.flush();
    return text;
}

QJsonObject DeviceDescriptionJson(const DeviceDescription& d)
{
    QJsonObject shared{
        {"activeBankByte", d.activeBankByte},
        {"activeBank", d.activeBank},
        {"reportRateByte", d.reportRateByte},
        {"reportRateHz", QJsonArray{d.reportRateHz[0], d.reportRateHz[1]}},
        {"reportRateCode", QJsonArray{d.reportRateCode[0], d.reportRateCode[1]}},
        {"wheelLightByte", d.wheelLightByte},
        {"wheelLightOn", d.wheelLightOn},
        {"wheelValue", d.wheelValue},
        {"lastActivation", d.lastActivation ? QJsonValue(QJsonArray{(*d.lastActivation)[0], (*d.lastActivation)[1]})
                                            : QJsonValue(QJsonValue::Null)},
    };
    if (d.shownLight) {
        QJsonObject shown = lightJson(d.shownLight->light);
        shown.remove("breathSecond");
        shown["bytes"] = hexBytes(d.shownLight->bytes.data(), d.shownLight->bytes.size());
        shared["shownLight"] = shown;
    } else {
        shared["shownLight"] = QJsonValue(QJsonValue::Null);
    }
    QJsonArray banks;
    for (const DecodedBank& bank : d.banks)
        banks.append(bankJson(bank));
    return QJsonObject{{"shared", shared}, {"banks", banks}};
}

} // namespace k4812
