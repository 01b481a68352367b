#pragma once

#include "pagebase/ParamsPage.h"

#include <QList>
#include <QStringList>

#include <array>

namespace Ui {
class ExitFunc;
}

// The outputs page: type, password, loops and zone of each output.
//
// The form carries four outputs; the fourth is never shown but is loaded and
// stored like the others. A type list holds the codes the firmware offers, so
// an item's code and its index differ once a code is missing: the page always
// stores and compares codes.
class ExitFunc : public ParamsPage {
    Q_OBJECT

public:
    static constexpr int kShownOutputs = 3;

    explicit ExitFunc(QWidget* parent = nullptr);
    ~ExitFunc() override;

    void ForgetRemembered() override;

    // The code a type item's text carries: its first character read as a
    // digit, 0 when it is none.
    static int TypeCode(const QString& itemText);
    // Item text of a type code 0..8.
    static QString TypeText(int code);
    // The type codes the firmware and model of `h` offer, ascending.
    static QList<int> OfferedTypes(const DeviceHeader& h);
    // Whether the firmware of `h` keeps a zone per output.
    static bool HasOutputZones(const DeviceHeader& h);

public slots:
    void TPribSlot(int type);
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();
    void ExitTypeChange_1(const QString& typeStr);
    void ExitTypeChange_2(const QString& typeStr);
    void ExitTypeChange_3(const QString& typeStr);
    void setZonesList(const QStringList& zonesList, int senderType);

private:
    // Enables the loops, password and zone of output n (1..3) by its type
    // text; an empty text (no item shown) enables none of them.
    void typeChanged(int n, const QString& typeStr);
    void showPasswords();

    Ui::ExitFunc* ui;
    // The zone choices of outputs 1..4 while the object is simple (its boxes
    // then hold a single zone); given back when it is complex again.
    std::array<QString, kOutputs> savedZoneText;
    bool simpleObject = false;
};
