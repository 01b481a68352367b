#pragma once

#include "settings/DeviceSettings.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace Ui {
class KeysLoadDialog;
}

// A key table loaded from a file, shown for review before the ticked rows
// go to the device. The key window fills the three tables and reads them
// back, together with the "cbWrite_N" boxes, when the user writes.
class KeysLoadDialog : public QDialog {
    Q_OBJECT

public:
    explicit KeysLoadDialog(QWidget* parent = nullptr);
    ~KeysLoadDialog() override;

    std::array<QString, kKeySlots> keyText;
    std::array<bool, kKeySlots> present{};
    std::array<bool, kOrdinaryKeys> gbr{};

signals:
    void SigWriteTable();

public slots:
    // Shows the three tables; an occupied row gets its write box ticked, the
    // box of an empty row keeps its state.
    void RefreshTable();
    void SetWriteStatus(bool show, bool ok);

private:
    struct Row {
        QLineEdit* value = nullptr;
        QLabel* presentFlag = nullptr;
        QLabel* presentText = nullptr;
        QLabel* gbrFlag = nullptr; // rows 1..18 only
        QLabel* gbrText = nullptr;
        QCheckBox* write = nullptr;
    };

    Ui::KeysLoadDialog* ui;
    std::array<Row, kKeySlots> rows;
};
