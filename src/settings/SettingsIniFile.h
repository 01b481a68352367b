#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;
class QTemporaryDir;

// Settings INI files: the user's "*.ini" files, the templates "templates/*.tmpl"
// and the default file of each model. The group and key names are fixed by the
// files already in the field and must not change.

// Reads the file into the settings. The file is read into a copy that is
// committed only when the whole read succeeds, so on false (the file cannot be
// read, or it carries neither "adc" levels nor readable "txx" levels) the
// settings are exactly as they were. Fields the file does not hold keep their
// values; nothing is reset first.
bool LoadSettingsFile(const QString& fileName, DeviceSettings* settings);

// Writes every group of the settings into the file, keeping keys of an older
// file that this writer does not write. The file is replaced atomically;
// false when it could not be written (the old file is then left as it was).
// Beyond the historical keys, the output-to-zone choice goes into "Form23" as
// "Form23.cbOutZone1".."4"; a file without those keys leaves the choice alone.
bool SaveSettingsFile(const QString& fileName, const DeviceSettings* settings);

// Reads the loop-level groups ("adc", else "txx") and "Form8" of a model's
// default file into LoopLimits::defaultMin, defaultMax and defaultReverse.
// Nothing else changes; on false (the levels cannot be read) nothing changes.
bool ReadAdcScales(const QString& fileName, DeviceSettings* settings);

// Loop levels are ADC codes of a 10-bit converter with a 3.3 V full scale.
// "txx" holds them in volts with a decimal comma, "adc" as codes.
namespace adcscale {
constexpr double kFullScaleVolts = 3.3;
constexpr int kMaxCode = 1023;
} // namespace adcscale

// The volts text written for a level: 'g' with 6 significant digits, '.'
// turned into ','. 0 -> "0", 512 -> "1,65161", 1023 -> "3,3".
QString LevelToVoltsText(qint32 level);

// Converts a "txx" value as QSettings hands it back: a number, a list split at
// an unquoted decimal comma (the first two items are the integer and fraction
// parts), or a single quoted text with a decimal comma. The level is
// f / 3.3 x 1023 truncated toward zero and bounded to 0..1023. False (and
// *level = 0) for a value that is none of these: a missing key, empty text.
bool VoltsValueToLevel(const QVariant& value, u32* level);

// A level stored as an ADC code ("adc"), bounded to 0..1023.
u32 AdcValueToLevel(const QVariant& value);

// A value as text. An unquoted comma (a file edited by hand or written
// elsewhere) makes QSettings split the value into a list of strings, or of
// variants when an item starts with '@'; every list form is joined again at
// ',' rather than lost. Values this program writes are quoted and never split.
QString IniValueText(const QVariant& value);
// The text of a key; a missing key gives empty text.
QString IniTextValue(const QSettings& ini, const QString& key);

// The file's bytes as UTF-8: unchanged when they are valid UTF-8, otherwise
// taken as Windows-1251 (files made on Russian Windows).
QByteArray IniTextToUtf8(const QByteArray& fileBytes);

// An INI file handled through QSettings under the project's encoding rules.
// QSettings reads only UTF-8, so it works on a private UTF-8 copy of the file;
// commit() checks that copy and writes it over the file atomically. Working on a
// fresh copy each time also keeps QSettings' per-path cache from handing back
// an earlier state of a file that changed within the same second.
class IniFileStore {
public:
    enum Mode {
        KeepContents, // start from the file's keys (a missing file starts empty)
        StartEmpty,   // the file will be rewritten from scratch
    };

    explicit IniFileStore(const QString& fileName, Mode mode = KeepContents);
    ~IniFileStore();
    IniFileStore(const IniFileStore&) = delete;
    IniFileStore& operator=(const IniFileStore&) = delete;

    // False when the file exists but cannot be read, or no working copy
    // could be made; settings() is null then.
    bool isOpen() const { return m_settings != nullptr; }
    bool fileExisted() const { return m_existed; }
    QSettings* settings() const { return m_settings.get(); }

    // Writes the working copy over the file atomically; false on any failure.
    bool commit();

private:
    QString m_fileName;
    QString m_workPath;
    bool m_existed = false;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_settings;
};
