#include "settings/ImageEEPROM.h"

#include "settings/ByteFields.h"
#include "settings/DeviceSettings.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageLayout.h"
#include "settings/Prompt.h"
#include "settings/SafeFile.h"
#include "settings/Sections.h"

#include <QDir>
#include <QFile>

namespace {

using namespace image;
namespace lt = layout::text;

const QString kFilter = QStringLiteral("Файлы образа (*.image);;Все файлы (*.*)");
const QString kCreateCaption = QStringLiteral("Формирование образа EEPROM");
const QString kLoadCaption = QStringLiteral("Загрузка образа EEPROM");
const QString kSaveCaption = QStringLiteral("Сохранение образа EEPROM");
const QString kInfoTitle = QStringLiteral("Информация");
const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kLoaded = QStringLiteral("Образ EEPROM успешно загружен!");
const QString kNotLoaded =
    QStringLiteral("Не удалось загрузить образ EEPROM!\nВозможно файл повреждён.");
const QString kNotWritten = QStringLiteral("Не удалось записать файл образа EEPROM!\n");

// A section without its terminating byte, as the device stores it.
QByteArray Stored(const QByteArray& section) {
    return section.left(section.size() - 1);
}

// A region of text fields keeps to [start, end): the rest stays erased, and
// what would not fit is dropped rather than moving later regions.
void PutRegion(QByteArray& img, int start, int end, const QByteArray& bytes) {
    PutBytes(img, start, bytes.left(end - start));
}

// Takes the next field of W as the device memory keeps it: a field shorter
// than maxLen keeps its ':'; one of maxLen bytes is kept without it, so its
// ':' is dropped here and the next field starts where the decoder looks.
QByteArray CutField(QByteArray& w, int maxLen) {
    const QByteArray f = ImageEEPROM::TakeField(w, 0, maxLen);
    w.remove(0, f.size());
    if (!f.endsWith(lt::kSeparator)) {
        // Also drops the rest of a longer text, which the device cannot keep.
        const int sep = int(w.indexOf(lt::kSeparator));
        w.remove(0, sep < 0 ? w.size() : sep + 1);
    }
    return f;
}

template <size_t N> QByteArray CutFields(QByteArray& w, const int (&maxLens)[N], size_t count = N) {
    QByteArray out;
    for (size_t i = 0; i < count && i < N; ++i)
        out += CutField(w, maxLens[i]);
    return out;
}

// Copies CR99 body bytes [from, from + count) to their places in the image;
// bytes this firmware's section does not have stay erased.
void PutCr99Body(QByteArray& img, const QByteArray& s99, const Cr99Layout& l, int from, int count) {
    for (int off = from; off < from + count; ++off) {
        if (off < l.bodySize && off < s99.size()) {
            const int at = Cr99ImageOffset(off);
            if (at >= 0 && at < img.size())
                img[at] = s99.at(off);
        }
    }
}

// A tail block sits right after the body in the section, wherever that
// ends for the firmware, but at one fixed place in the image (19.12.2009
// keeps its SMS-event block at 88..91 of the section).
void PutCr99Tail(QByteArray& img, const QByteArray& s99, int sectionOffset, int fullOffset,
                 int size) {
    if (sectionOffset < 0)
        return;
    PutBytes(img, Cr99ImageOffset(fullOffset), s99.mid(sectionOffset, size));
}

bool WriteFile(const QString& fileName, const QByteArray& bytes, QWidget* parent) {
    if (!WriteFileAtomically(fileName, bytes)) {
        prompt().message(Prompt::Warning, parent, kWarningTitle,
                         kNotWritten + QDir::toNativeSeparators(fileName));
        return false;
    }
    return true;
}

} // namespace

ImageEEPROM::ImageEEPROM(QObject* parent) : QObject(parent) {}

QByteArray ImageEEPROM::TakeField(const QByteArray& source, int start, int maxLen) {
    QByteArray out;
    if (maxLen <= 0 || start < 0)
        return out;
    for (int i = start; i < source.size() && out.size() < maxLen; ++i) {
        out += source.at(i);
        if (source.at(i) == lt::kSeparator)
            break;
    }
    return out;
}

bool ImageEEPROM::IsLoadableSize(qint64 size) {
    return size == kReadSizeShort || size == kReadSizeMiddle || size == kReadSizeFull;
}

bool ImageEEPROM::IsLoadableImage(const QByteArray& data) {
    return IsLoadableSize(data.size()) && data.at(kMarker) == kProgrammed;
}

QByteArray ImageEEPROM::BuildImage(const DeviceSettings& s) {
    const QByteArray aa = Stored(BuildPackCRAA(s));
    const QByteArray qq = Stored(BuildPackCRQQ(s));
    const QByteArray mm = Stored(BuildPackCRMM(s));
    const QByteArray hh = Stored(BuildPackCRHH(s));
    const QByteArray s77 = Stored(BuildPackCR77(s));
    const QByteArray s88 = Stored(BuildPackCR88(s));
    const QByteArray s99 = Stored(BuildPackCR99(s));
    const QByteArray ff = BuildPackCRFF(s);
    const QByteArray keys = BuildKeysPack(s);
    const Cr99Layout l = Cr99LayoutFor(*s.header);

    QByteArray img(kSize, kErased);
    img[kMarker] = kProgrammed;

    // First SIM and main server.
    PutBytes(img, kServer1Ip, aa.mid(lt::craa::kServerIpOffset, lt::kServerIpWidth));
    PutBytes(img, kServer1Port, aa.mid(lt::craa::kServerPortOffset, lt::kServerPortWidth));
    {
        QByteArray w = aa.mid(lt::craa::kSimFieldsOffset);
        QByteArray region = CutFields(w, lt::craa::kTextFieldMax);
        region += w.left(lt::kObjectNumberWidth);
        region += w.mid(lt::kObjectNumberWidth + 1, 2 * lt::kPasswordWidth);
        PutRegion(img, kSim1Fields, kSim1RegionEnd, region);
    }

    PutCr99Body(img, s99, l, kOutputsCr99, kOutputsSize);
    PutBytes(img, kNumbersBlock, qq.left(kNumbersBlockSize));
    PutBytes(img, kFederalNumbers, s77.left(kFederalNumbersSize));

    // Second SIM and second server.
    {
        QByteArray w = mm;
        QByteArray region = CutFields(w, lt::crmm::kTextFieldMax, kSim2FieldCount);
        // The use-flag byte is raw and may itself be ':' or NUL.
        if (!w.isEmpty()) {
            region += w.at(0);
            w.remove(0, 1);
        }
        if (w.startsWith(lt::kSeparator))
            w.remove(0, 1);
        region += lt::kSeparator;
        region += w.left(kServer2Size);
        region += kSim2Trailer;
        PutRegion(img, kSim2Fields, kSim2RegionEnd, region);
    }

    PutCr99Body(img, s99, l, cr99::kCallMatrix, cr99::kCallMatrixSize);

    // Balance requests, options and call prefix.
    {
        QByteArray w = hh;
        QByteArray region = CutFields(w, lt::crhh::kTextFieldMax);
        region += kBalanceTrailer;
        region += '\0';
        PutRegion(img, kBalanceFields, kBalanceRegionEnd, region);
    }

    PutBytes(img, kCr88, s88.left(kCr88Size));
    PutCr99Body(img, s99, l, 0, kCr99BaseSize);
    img[kState] = kMarkerZero;

    PutCr99Tail(img, s99, l.timeZone, cr99::kFullTimeZone, cr99::kTimeZoneSize);

    PutBytes(img, kKeyTable, keys.mid(keypack::kSlots, kKeyTableSize));
    PutBytes(img, kKeyActiveMask, keys.mid(keypack::kActiveMask, keypack::kMaskSize));
    img[kKeyMaskGap1] = kMarkerZero;
    PutBytes(img, kKeyRapidMask, keys.mid(keypack::kRapidMask, keypack::kMaskSize));
    img[kKeyMaskGap2] = kMarkerZero;

    PutCr99Tail(img, s99, l.smsEvents, cr99::kFullSmsEvents, cr99::kSmsEventsSize);
    PutCr99Tail(img, s99, l.outputFlags, cr99::kFullOutputFlags, cr99::kOutputFlagsSize);
    PutCr99Tail(img, s99, l.navigation, cr99::kFullNavigation, cr99::kNavigationSize);

    PutCr99Body(img, s99, l, cr99::kConsoleRegion, cr99::kConsoleRegionSize);

    PutBytes(img, kCrff, ff.left(crff::kSize));
    return img;
}

bool ImageEEPROM::CreateImageEEPROM() {
    const QString fileName =
        prompt().saveFileName(nullptr, kCreateCaption, QDir::currentPath(), kFilter);
    if (fileName.isEmpty() || !g_deviceSettings)
        return false;
    return WriteFile(fileName, BuildImage(*g_deviceSettings), m_parentWidget);
}

bool ImageEEPROM::LoadImageEEPROM() {
    const QString fileName =
        prompt().openFileName(nullptr, kLoadCaption, QDir::currentPath(), kFilter);
    if (fileName.isEmpty())
        return false;

    QByteArray data;
    QFile file(fileName);
    // The size is checked before reading, so a huge file is never read whole.
    if (file.open(QIODevice::ReadOnly) && IsLoadableSize(file.size()))
        data = file.readAll();
    file.close();

    if (!IsLoadableImage(data) || !g_deviceSettings) {
        prompt().message(Prompt::Warning, m_parentWidget, kWarningTitle, kNotLoaded);
        return false;
    }
    ParseImage(data, g_deviceSettings, QString());
    emit SigFillFields();
    prompt().message(Prompt::Information, m_parentWidget, kInfoTitle, kLoaded);
    return true;
}

bool ImageEEPROM::SaveImageEEPROM(QByteArray image) {
    const QString fileName =
        prompt().saveFileName(nullptr, kSaveCaption, QDir::currentPath(), kFilter);
    if (fileName.isEmpty())
        return false;
    return WriteFile(fileName, image, m_parentWidget);
}
