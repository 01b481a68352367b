#include "settings/DeviceAnnouncement.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <iterator>

namespace {

// Releases that carry builds in the version list but gate nothing else.
constexpr const char* kRelease02_12_2010 = "02.12.2010";
constexpr const char* kRelease17_05_2012 = "17.05.2012";

struct BuildBand {
    int from;
    int to;
    int suffix; // the number written after "/", or kOddOfPair
};
constexpr int kOddOfPair = -2; // the odd build of the pair b belongs to

struct SuffixRow {
    const char* release;
    const BuildBand* bands;
    int count;
};

constexpr BuildBand k01_12_2010[] = {
    {11, 16, 11}, {17, 18, 17}, {19, 19, 19}, {20, 24, 20}, {25, 255, 25}};
constexpr BuildBand k02_12_2010[] = {{13, 255, 13}};
constexpr BuildBand k03_12_2010[] = {{0, 10, 67},  {11, 16, 11},         {17, 22, 17}, {23, 24, 23},
                                     {25, 30, 25}, {31, 66, kOddOfPair}, {67, 255, 67}};
constexpr BuildBand k19_04_2012[] = {{1, 44, 1}, {45, 99, 45}, {100, 144, 100}, {145, 255, 145}};
constexpr BuildBand k09_05_2012[] = {{1, 27, 1}, {28, 99, 28}, {100, 127, 100}, {128, 255, 128}};
constexpr BuildBand k16_05_2012[] = {{1, 21, 1}, {22, 99, 22}, {100, 121, 100}, {122, 255, 122}};
constexpr BuildBand kAnyBuild[] = {{1, 255, 1}};

template <int N> constexpr SuffixRow suffixRow(const char* release, const BuildBand (&bands)[N]) {
    return {release, bands, N};
}
constexpr SuffixRow kSuffixRows[] = {
    suffixRow(fw::k01_12_2010, k01_12_2010),  suffixRow(kRelease02_12_2010, k02_12_2010),
    suffixRow(fw::k03_12_2010, k03_12_2010),  suffixRow(fw::k19_04_2012, k19_04_2012),
    suffixRow(fw::k09_05_2012, k09_05_2012),  suffixRow(fw::k16_05_2012, k16_05_2012),
    suffixRow(kRelease17_05_2012, kAnyBuild), suffixRow(fw::k18_12_2018, kAnyBuild),
};

// Builds of the 03.12.2010 release that a model code 2 device reports as
// DEV_VororaZ; every other build of that release is DEV_VoduzeR.
constexpr BuildBand kCode2VororaZBuilds[] = {
    {11, 16, 0}, {23, 24, 0}, {27, 28, 0}, {31, 32, 0}, {35, 36, 0}, {39, 40, 0}, {43, 44, 0},
    {47, 48, 0}, {51, 52, 0}, {55, 56, 0}, {59, 60, 0}, {63, 64, 0}, {67, 67, 0}};

// The band holding the build, or none.
const BuildBand* bandOf(const BuildBand* bands, int count, int build) {
    for (int i = 0; i < count; ++i)
        if (build >= bands[i].from && build <= bands[i].to)
            return &bands[i];
    return nullptr;
}

// Before the first release / between the releases / from the second one.
enum class Era { Early, Middle, Late };
Era eraOf(const QDate& firmware) {
    if (!FwOnOrAfter(firmware, fw::k19_04_2012))
        return Era::Early;
    if (!FwOnOrAfter(firmware, fw::k18_12_2018))
        return Era::Middle;
    return Era::Late;
}

struct FamilyRow {
    int devType;
    const char* defaultFile;
    int loops;
};
constexpr FamilyRow kFamilies[] = {
    {DEV_D4M, "Keelwright.dev4", 4},
    {DEV_D8M, "Keelwright.dev8", 8},
    {DEV_VororaZ, "Keelwright.auton", 6},
    {DEV_VoduzeR, "Keelwright.auto", 6},
};

const FamilyRow* familyOf(int devType) {
    for (const FamilyRow& f : kFamilies)
        if (f.devType == devType)
            return &f;
    return nullptr;
}

} // namespace

int DeviceTypeOfModel(quint8 code, const QDate& firmware, quint8 build) {
    switch (code) {
    case 1:
        return DEV_D4M;
    case 3:
        return DEV_D8M;
    case 4:
        switch (eraOf(firmware)) {
        case Era::Early:
            return DEV_VororaZ;
        case Era::Middle:
            return DEV_VoduzeR;
        case Era::Late:
            return DEV_VororaZ;
        }
        break;
    case 2:
        if (FwEquals(firmware, fw::k03_12_2010))
            return bandOf(kCode2VororaZBuilds, int(std::size(kCode2VororaZBuilds)), build)
                       ? DEV_VororaZ
                       : DEV_VoduzeR;
        switch (eraOf(firmware)) {
        case Era::Early:
            return DEV_VoduzeR;
        case Era::Middle:
            return DEV_VororaZ;
        case Era::Late:
            return DEV_VoduzeR;
        }
        break;
    default:
        break;
    }
    return -1;
}

QString VersionBuildSuffix(const QDate& firmware, quint8 build) {
    if (!firmware.isValid())
        return {};
    for (const SuffixRow& row : kSuffixRows) {
        if (!FwEquals(firmware, row.release))
            continue;
        const BuildBand* band = bandOf(row.bands, row.count, build);
        if (!band)
            return {};
        const int n = band->suffix == kOddOfPair ? (build % 2 ? build : build - 1) : band->suffix;
        return QLatin1Char('/') + QString::number(n);
    }
    return {};
}

QString VersionLookupText(const QString& version, quint8 build) {
    return version + VersionBuildSuffix(StrToDate(version), build);
}

DeviceAnnouncement InterpretAnnouncement(const QString& version, quint8 code, quint8 build) {
    DeviceAnnouncement a;
    a.modelCode = code;
    a.build = build;
    a.announcedVersion = build ? version + QLatin1Char('/') + QString::number(build) : version;
    if (code == 0 && build == 0) {
        a.kind = AnnouncementKind::Reset;
        return a;
    }
    a.deviceType = DeviceTypeOfModel(code, StrToDate(version), build);
    if (a.deviceType < 0) {
        a.kind = AnnouncementKind::UnknownModel;
        return a;
    }
    a.kind = AnnouncementKind::Device;
    a.lookupText = VersionLookupText(version, build);
    return a;
}

int FindVersionRow(const QStringList& rows, const QString& text) {
    return int(rows.indexOf(text));
}

void ApplyVersionRow(DeviceHeader& header, const QString& rowText, int row) {
    SetFirmwareVersion(header, rowText);
    header.versionIndex = row;
}

QString FamilyDefaultFile(int devType) {
    const FamilyRow* f = familyOf(devType);
    return f ? QString::fromLatin1(f->defaultFile) : QString();
}

int FamilyLoopCount(int devType) {
    const FamilyRow* f = familyOf(devType);
    return f ? f->loops : 0;
}

bool IsKnownDeviceType(int devType) {
    return familyOf(devType) != nullptr;
}

bool SetDeviceType(DeviceSettings& settings, int devType) {
    settings.header->deviceType = devType;
    const FamilyRow* f = familyOf(devType);
    if (!f)
        return false;
    settings.zones->loopCount = f->loops;
    return true;
}
