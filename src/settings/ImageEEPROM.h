#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class DeviceSettings;
class QWidget;

// EEPROM image files ("*.image"): a device memory image on disk. An image is
// made from the settings (what the device would hold after programming),
// loaded back into the settings, or saved as a memory read returned it. File
// dialogs and message boxes go through prompt(); the settings are
// g_deviceSettings. The file dialogs have no parent window; the message boxes
// are shown over parentWidget() (the main window sets itself).
class ImageEEPROM : public QObject {
    Q_OBJECT
public:
    explicit ImageEEPROM(QObject* parent = nullptr);

    // The window the message boxes belong to; nullptr (the default) for none.
    void setParentWidget(QWidget* widget) { m_parentWidget = widget; }
    QWidget* parentWidget() const { return m_parentWidget; }

    // The bytes of source from start on up to and including the first ':',
    // at most maxLen of them, and no further than source's end. Empty for
    // maxLen <= 0 or a start outside source.
    static QByteArray TakeField(const QByteArray& source, int start, int maxLen);

    // The memory image the device would hold after being programmed with
    // these settings: image::kSize bytes, every region at its place in the
    // memory map whatever the texts hold.
    static QByteArray BuildImage(const DeviceSettings& settings);

    // True for bytes that can be loaded: as long as a memory read of some
    // firmware (1023, 3590 or 3840 bytes) and marked as programmed ('Z').
    static bool IsLoadableImage(const QByteArray& data);
    static bool IsLoadableSize(qint64 size);

signals:
    // The settings changed under the widgets: refill them.
    void SigFillFields();

public slots:
    // Each returns true when it did its work; false when the user cancelled
    // or the operation failed (and was reported).
    bool CreateImageEEPROM();
    bool LoadImageEEPROM();
    bool SaveImageEEPROM(QByteArray image);

private:
    QWidget* m_parentWidget = nullptr;
};
