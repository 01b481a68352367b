// Memory images of any length decoded under every firmware gate, as a memory
// read or an image file hands them to the decoder.

#include "FuzzSupport.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "support/SettingsFixtures.h"

using namespace fixtures;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString dir = FuzzWorkDir();
    FuzzInput in(data, size);
    QFile::remove(dir + "/GSM.cfg"); // operators an earlier input added
    const QString version = FuzzFirmwareVersions().at(in.below(int(FuzzFirmwareVersions().size())));
    // Short inputs are stretched to a read's length so every region is met.
    const int stretch = in.byte();
    QByteArray image = in.rest();
    if ((stretch & 1) && !image.isEmpty()) {
        const int lengths[] = {1023, 1789, 1791, 3590, 3839, 3840};
        const int want = lengths[(stretch >> 1) % 6];
        while (image.size() < want)
            image += image.left(want - int(image.size()));
        image.truncate(want);
    }
    ImageEEPROM::IsLoadableImage(image);

    DeviceSettings s = Defaults(version);
    const int operators = int(s.gsmOperators.size());
    FUZZ_CHECK(ParseImage(image, &s, dir), "the decoder refused");
    FUZZ_CHECK(image.isEmpty(), "the image was not emptied");
    for (int n = 0; n < kLoops; ++n)
        FUZZ_CHECK(s.loopLimits->minLevel[n] <= 1023 && s.loopLimits->maxLevel[n] <= 1023,
                   "a level past 1023");
    for (int sim = 0; sim < kSims; ++sim) {
        if (s.header->useSim[sim]) {
            const int op = s.header->simOperator[sim];
            FUZZ_CHECK(op >= 0 && op < s.gsmOperators.size(), "a SIM in use names no operator");
        }
    }
    FUZZ_CHECK(s.gsmOperators.size() <= operators + kSims, "more operators than SIMs added");
    // One signed byte on old firmware, two bytes less one from 15.04.2010.
    FUZZ_CHECK(s.state->newestJournal >= -128 && s.state->newestJournal < 65535,
               "a journal index past its bytes");
    return 0;
}
