// A device's greeting and ready packet as the parser takes them, and the
// announcement decision the main window takes from a ready packet.

#include "FuzzSupport.h"

#include "link/Protocol.h"
#include "settings/DeviceAnnouncement.h"
#include "settings/DeviceSettings.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QByteArray packet = in.rest();
    if (!proto::IsReadyPacket(packet))
        return 0;
    FUZZ_CHECK(packet.size() >= proto::kReadyMinLength, "a short ready packet taken");
    const QString version = proto::ReadyVersionText(packet);
    FUZZ_CHECK(version.size() == 10 && version.mid(6, 2) == "20", "a version text of another form");
    const quint8 code = quint8(packet.at(proto::kReadyTypePos));
    const quint8 build = quint8(packet.at(proto::kReadyBuildPos));
    proto::ReadyTypeLine(code);

    const DeviceAnnouncement a = InterpretAnnouncement(version, code, build);
    FUZZ_CHECK(a.modelCode == code && a.build == build, "the announcement's numbers");
    switch (a.kind) {
    case AnnouncementKind::Reset:
        FUZZ_CHECK(code == 0 && build == 0, "a reset from a device that announced itself");
        break;
    case AnnouncementKind::UnknownModel:
        FUZZ_CHECK(a.deviceType == -1, "an unknown model with a family");
        break;
    case AnnouncementKind::Device:
        FUZZ_CHECK(IsKnownDeviceType(a.deviceType), "a known model without a family");
        FUZZ_CHECK(a.lookupText.startsWith(version), "a row looked up for another date");
        FUZZ_CHECK(!FamilyDefaultFile(a.deviceType).isEmpty(), "a family without default file");
        break;
    }
    // The row found for the text takes the header to that date and build.
    DeviceHeader h;
    ApplyVersionRow(h, a.lookupText, 7);
    FUZZ_CHECK(h.versionIndex == 7, "the row index");
    FUZZ_CHECK(h.firmwareSubVersion >= 0, "a negative sub-version");
    DeviceSettings s;
    FUZZ_CHECK(SetDeviceType(s, a.deviceType) == IsKnownDeviceType(a.deviceType), "family");
    return 0;
}
