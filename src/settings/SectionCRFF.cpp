#include "settings/ByteFields.h"
#include "settings/DeviceSettings.h"
#include "settings/LayoutCRFF.h"
#include "settings/Sections.h"
#include "settings/TextCodec.h"

QByteArray BuildPackCRFF(const DeviceSettings& s) {
    using namespace crff;
    // Start from the fill and write every field over it; each text is cut to
    // its field, so no text can move a later field or change the length.
    QByteArray b(kSize, kFill);

    const RemoteProgSettings& rp = *s.remoteProg;
    PutBytes(b, kServerAddress1,
             FixedWidth(ToLatin1(rp.serverAddress[0]), kServerAddressSize, '\0'));
    PutBytes(b, kServerAddress2,
             FixedWidth(ToLatin1(rp.serverAddress[1]), kServerAddressSize, '\0'));
    for (int i = 0; i < 2; ++i) {
        const int at = i == 0 ? kServerPort1 : kServerPort2;
        b[at] = char(rp.serverPort[i] >> 8);
        b[at + 1] = char(rp.serverPort[i] & 0xFF);
    }
    PutBytes(b, kPhone1, PhoneToBcd(rp.phoneNumber[0]));
    PutBytes(b, kPhone2, PhoneToBcd(rp.phoneNumber[1]));
    b[kReserved78] = '\0';

    quint8 flags = 0;
    if (rp.connectToServer)
        flags |= kConnectToServerBit;
    if (rp.useProgIfNoProtect)
        flags |= kUseProgIfNoProtectBit;
    b[kRemoteFlags] = char(flags);

    PutBytes(b, kSmsKeyWord, Cp1251Field(rp.smsKeyWord, kSmsKeyWordSize, '\0'));
    PutBytes(b, kReserved88, QByteArray(kReserved88Size, '\0'));

    b[kErrorOpenClose] = char(s.loopFunctions->errorOpenClose);
    b[kAsyncTransfer] = char(s.connection->asyncTransfer);
    b[kDeleteUnsent] = char(s.connection->deleteUnsent);

    // At most 31 bytes of text so the 0x00 that ends it always fits.
    QByteArray password = ToCp1251(s.servers->serverPassword).left(kServerPasswordMaxText);
    password.append('\0');
    PutBytes(b, kServerPassword, FixedWidth(password, kServerPasswordSize, kFill));
    b[kReserved179] = kFill;

    const TimeTriggers& tt = *s.timeTriggers;
    for (int i = 0; i < kTimedEventCount; ++i) {
        const int at = kTimedEvents + kTimedEventSize * i;
        const QTime& t = tt.evTime[i];
        b[at + kTriggerHourAt] = t.isValid() ? char(t.hour()) : char(kNoTime);
        b[at + kTriggerMinuteAt] = t.isValid() ? char(t.minute()) : char(kNoTime);
        b[at + kTriggerTypeAt] = char(quint8(quint32(tt.evType[i]) & 0xFF));
        b[at + kTriggerDaysAt] = char(FlagMask(tt.evDay[i], kWeekDays));
    }

    for (int n = 0; n < kOutputCount; ++n)
        b[kOutputZones + n] = char(quint8(quint32(s.outputs->outputZone[n]) & 0xFF));
    // Bytes kTailFill..kSize keep the fill.
    return b;
}

char KeysCheckCharFromXor(quint8 xorSum) {
    const quint8 c = xorSum & 0x1F;
    return c == 0 ? 'A' : char(c | 0x40);
}

quint8 KeysXorRange(const QByteArray& bytes, int first, int last, quint8 seed) {
    quint8 x = seed;
    for (int i = qMax(first, 0); i <= last && i < bytes.size(); ++i)
        x ^= quint8(bytes[i]);
    return x;
}

char KeyPackCheckCharacter(const QByteArray& pack) {
    using namespace keypack;
    return KeysCheckCharFromXor(KeysXorRange(pack, kCheckFirst, kCheckLast, quint8(kLeadByte)));
}

QByteArray KeySlotBytes(const QByteArray& keyText) {
    // fromHex skips every character that is not a hexadecimal digit.
    const QByteArray value = QByteArray::fromHex(keyText);
    QByteArray slot(keypack::kSlotSize, '\0');
    for (int i = 0; i < keypack::kSlotSize; ++i) {
        const int from = keypack::kSlotSize - 1 - i;
        if (from < value.size())
            slot[i] = value[from];
    }
    return slot;
}

QByteArray BuildKeysPack(const DeviceSettings& s) {
    using namespace keypack;
    const KeyCodes& k = *s.keys;
    QByteArray b(kSize, '\0');
    b[kLead] = kLeadByte;
    for (int slot = 0; slot < kSlotCount; ++slot)
        PutBytes(b, kSlots + kSlotSize * slot, KeySlotBytes(k.key[slot]));
    for (int i = 0; i < kMaskSize; ++i) {
        b[kActiveMask + i] = char(FlagMask(k.keyActive, kSlotCount - 8 * i, 8 * i));
        b[kRapidMask + i] = char(FlagMask(k.rapidResponseKey, kRapidSlotCount - 8 * i, 8 * i));
    }
    b[kCheck] = KeyPackCheckCharacter(b);
    b[kTerminator] = '\0';
    return b;
}
