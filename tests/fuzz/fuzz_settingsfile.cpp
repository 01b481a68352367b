// The settings INI loader on any file, then every section builder and the
// memory image built from what it loaded, decoded back.

#include "FuzzSupport.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/Sections.h"
#include "settings/SettingsIniFile.h"
#include "support/Files.h"
#include "support/SettingsFixtures.h"

using namespace fixtures;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString dir = FuzzWorkDir();
    static const QString file = dir + "/input.ini";
    FuzzInput in(data, size);
    QFile::remove(dir + "/GSM.cfg"); // operators an earlier input added
    const QString version = FuzzFirmwareVersions().at(in.below(int(FuzzFirmwareVersions().size())));
    if (!WriteAll(file, in.rest()))
        return 0;

    DeviceSettings s = Defaults(version);
    const DeviceSettings before(s);
    if (!LoadSettingsFile(file, &s)) {
        FUZZ_CHECK(Dump(s) == Dump(before), "a refused file changed the settings");
        return 0;
    }
    const LoopLimits& ll = *s.loopLimits;
    for (int n = 0; n < kLoops; ++n) {
        FUZZ_CHECK(ll.minLevel[n] <= 1023 && ll.maxLevel[n] <= 1023, "a level past 1023");
        FUZZ_CHECK(ll.sensorType[n] < u32(ll.sensors.size()) || ll.sensorType[n] == 0,
                   "a sensor type that names no record");
    }
    FUZZ_CHECK(s.zones->zoneCount >= 0 && s.zones->zoneCount <= kZones, "zone count past 8");
    // What a load does not cover stays.
    FUZZ_CHECK(s.gsmOperators.size() == before.gsmOperators.size(), "operators changed");
    FUZZ_CHECK(s.header->firmwareDate == before.header->firmwareDate, "firmware changed");

    // Every builder, and the image, whatever the texts and numbers hold.
    for (const QByteArray& section :
         {BuildPackCRAA(s), BuildPackCRQQ(s), BuildPackCRMM(s), BuildPackCRHH(s), BuildPackCR77(s),
          BuildPackCR88(s), BuildPackCR99(s), BuildPackCRFF(s)})
        FUZZ_CHECK(!section.isEmpty(), "an empty section");
    QByteArray image = ImageEEPROM::BuildImage(s);
    FUZZ_CHECK(image.size() == image::kSize, "an image of another size");
    FUZZ_CHECK(ImageEEPROM::IsLoadableImage(image), "a built image that cannot be loaded");

    // Decoded again, a SIM in use names an operator of the list: the image
    // never carries a SIM whose operator the list does not hold.
    DeviceSettings back = Defaults(version);
    ParseImage(image, &back, dir);
    for (int sim = 0; sim < kSims; ++sim) {
        if (back.header->useSim[sim]) {
            const int op = back.header->simOperator[sim];
            FUZZ_CHECK(op >= 0 && op < back.gsmOperators.size(), "a SIM names no operator");
        }
        if (s.header->useSim[sim] && s.header->simOperator[sim] >= s.gsmOperators.size())
            FUZZ_CHECK(!back.header->useSim[sim], "a SIM without operator sent as in use");
    }
    for (int n = 0; n < kLoops; ++n)
        FUZZ_CHECK(back.loopLimits->minLevel[n] == ll.minLevel[n], "a level did not travel");
    return 0;
}
