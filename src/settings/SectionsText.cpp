// The three colon-separated text sections: first SIM and main server,
// second SIM and second server, balance requests and options.

#include "settings/ByteFields.h"
#include "settings/DeviceSettings.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"
#include "settings/TextCodec.h"

#include <QStringList>

namespace layout {
namespace text {

namespace {
// The device walks these sections by ':' and stops at the terminator, so a
// stray one inside a value would shift every later field.
QByteArray Sanitized(QByteArray bytes) {
    for (char& c : bytes) {
        if (c == kSeparator || c == kTerminator)
            c = kReplacement;
    }
    return bytes;
}

bool IsDigitGroup(const QString& group) {
    if (group.isEmpty() || group.size() > 3)
        return false;
    for (QChar c : group) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}
} // namespace

QByteArray DigitField(const QByteArray& bytes, int width) {
    QByteArray out = Sanitized(bytes.left(width));
    if (out.size() < width)
        out.prepend(width - out.size(), '0');
    return out;
}

QByteArray ServerIpField(const QString& address) {
    if (address.isEmpty())
        return QByteArray("000.000.000.000");
    const QStringList groups = address.split(QLatin1Char('.'));
    bool dotted = groups.size() == 4;
    for (const QString& g : groups)
        dotted = dotted && IsDigitGroup(g);
    if (dotted) {
        QStringList padded;
        for (const QString& g : groups)
            padded << g.rightJustified(3, QLatin1Char('0'));
        return padded.join(QLatin1Char('.')).toLatin1();
    }
    return FixedWidth(Sanitized(ToLatin1(address)), kServerIpWidth, '0');
}

QByteArray TextField(const QString& text, int maxLen) {
    return Sanitized(ToLatin1(text).left(maxLen));
}

} // namespace text
} // namespace layout

namespace {

using namespace layout::text;

// The operator of a SIM, or none when the index is outside the list: such a
// SIM is sent as not in use rather than read out of range.
const GsmOperator* SimOperator(const DeviceSettings& s, int sim) {
    const int index = s.header->simOperator[sim];
    if (index < 0 || index >= s.gsmOperators.size())
        return nullptr;
    return &s.gsmOperators.at(index);
}

const GsmOperator* UsedSimOperator(const DeviceSettings& s, int sim) {
    return s.header->useSim[sim] ? SimOperator(s, sim) : nullptr;
}

// login ':' password ':' access point, or "-:-:-" for a SIM not in use.
QByteArray SimFields(const DeviceSettings& s, int sim) {
    const GsmOperator* op = UsedSimOperator(s, sim);
    if (!op)
        return QByteArray(kUnusedSim);
    QByteArray out = TextField(op->login, kLoginMax);
    out += kSeparator;
    out += TextField(op->password, kSimPasswordMax);
    out += kSeparator;
    out += TextField(op->initString, kAccessPointMax);
    return out;
}

QByteArray UssdField(const DeviceSettings& s, int sim) {
    const GsmOperator* op = s.header->checkBalance[sim] ? UsedSimOperator(s, sim) : nullptr;
    if (!op)
        return QByteArray(1, kSwitchedOff);
    return TextField(op->ussd, kUssdMax);
}

QByteArray PortField(const QString& port) {
    return DigitField(ToLatin1(port), kServerPortWidth);
}

QByteArray PasswordField(const QString& password) {
    return DigitField(ToLatin1(password), kPasswordWidth);
}

void EndSection(QByteArray& out) {
    out += kSectionEnd;
    out += kTerminator;
}

} // namespace

QByteArray BuildPackCRAA(const DeviceSettings& s) {
    constexpr int kMain = 0;
    QByteArray out;
    out += ServerIpField(s.servers->serverIp[kMain]);
    out += kSeparator;
    out += PortField(s.servers->serverPort[kMain]);
    out += kSeparator;
    out += SimFields(s, 0);
    out += kSeparator;
    out += TextField(s.navigation->distanceFilter, kDistanceFilterMax);
    out += kSeparator;
    out += DigitField(s.connection->objectNumber, kObjectNumberWidth);
    out += kSeparator;
    out += PasswordField(s.outputs->userPassword[0]);
    out += PasswordField(s.outputs->userPassword[1]);
    EndSection(out);
    return out;
}

QByteArray BuildPackCRMM(const DeviceSettings& s) {
    constexpr int kSecond = 1;
    QByteArray out = SimFields(s, 1);
    out += kSeparator;
    out += crmm::kPlaceholders;
    // A raw bit mask, not a character: it may equal ':' or NUL and is sent
    // all the same, as the device reads it by position.
    out += char(FlagMask(s.phones->useFlag, crmm::kUseFlagCount, crmm::kFirstUseFlag));
    out += kSeparator;
    out += ServerIpField(s.servers->serverIp[kSecond]);
    const QByteArray port = PortField(s.servers->serverPort[kSecond]);
    out += port;
    out += port.at(kServerPortWidth - 1);
    EndSection(out);
    return out;
}

QByteArray BuildPackCRHH(const DeviceSettings& s) {
    QByteArray out = UssdField(s, 0);
    out += kSeparator;
    out += UssdField(s, 1);
    out += kSeparator;
    out += kSwitchedOff;
    out += kSeparator;
    char flags = crhh::kFlagsBase;
    if (s.extra->saveStateOnPowerOff)
        flags |= crhh::kFlagSaveStateOnPowerOff;
    if (s.connection->csdDetail)
        flags |= crhh::kFlagCsdDetail;
    if (s.navigation->gpsReceiver == 0)
        flags |= crhh::kFlagNoGpsReceiver;
    out += flags;
    out += kSeparator;
    out += crhh::kDialCode;
    out += kSeparator;
    if (s.extra->callPrefix.isEmpty())
        out += kSwitchedOff;
    else
        out += TextField(s.extra->callPrefix, kCallPrefixMax);
    out += kSeparator;
    out += kTerminator; // an empty field the device keeps as a NUL
    out += kSeparator;
    out += crhh::kLastField;
    EndSection(out);
    return out;
}
