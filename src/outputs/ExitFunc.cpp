#include "outputs/ExitFunc.h"

#include "settings/Firmware.h"
#include "ui_ExitFunc.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Why the zones page sends its list.
enum ZonesReason { kZonesCancel = 0, kZonesRenamed = 3, kZonesObjectType = 4 };

constexpr int kUserOutputType = 4;
constexpr int kConsoleLoopType = 3;

const char* const kTypeTexts[] = {
    "0 - не используется",      "1 - свет",       "2 - сирена",       "3 - ПЦН",
    "4 - пользовательский",     "5 - импульсный", "6 - индикатор ТМ", "7 - ин. очередь занята",
    "8 - ин. очередь свободна",
};
constexpr int kTypeCount = int(sizeof kTypeTexts / sizeof kTypeTexts[0]);

// Models whose output passwords are "FF" and two hexadecimal digits.
bool shortPasswords(int deviceType) {
    return deviceType == DEV_VororaZ || deviceType == DEV_VoduzeR;
}

bool inRange(quint32 b, quint32 lo, quint32 hi) {
    return b >= lo && b <= hi;
}

// Outputs 1-2 hold the administrator passwords, 3-4 the user passwords.
QString& passwordOf(OutputsConfig& o, int output) {
    return output < 2 ? o.adminPassword[size_t(output)] : o.userPassword[size_t(output - 2)];
}

} // namespace

ExitFunc::ExitFunc(QWidget* parent) : ParamsPage(parent), ui(new Ui::ExitFunc) {
    ui->setupUi(this);

    QStringList items;
    for (int code = 0; code <= 6; ++code)
        items << TypeText(code);
    QComboBox* types[] = {ui->CombobV1, ui->CombobV2, ui->CombobV3, ui->CombobV4};
    for (QComboBox* combo : types)
        combo->addItems(items);

    // Connected after the items are in, so no handler runs while the page is built.
    void (ExitFunc::*handlers[])(const QString&) = {
        &ExitFunc::ExitTypeChange_1, &ExitFunc::ExitTypeChange_2, &ExitFunc::ExitTypeChange_3};
    for (int n = 0; n < kShownOutputs; ++n) {
        QComboBox* combo = types[n];
        auto handler = handlers[n];
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo, handler](int i) { (this->*handler)(combo->itemText(i)); });
    }

    for (QWidget* w : {static_cast<QWidget*>(ui->label_7), static_cast<QWidget*>(ui->CombobV4),
                       static_cast<QWidget*>(ui->lePass4), static_cast<QWidget*>(ui->combZone_4),
                       static_cast<QWidget*>(ui->cbRazm4), static_cast<QWidget*>(ui->cbSave4)})
        w->hide();
    for (int loop = 1; loop <= kLoops; ++loop)
        numbered<QCheckBox>(QStringLiteral("cbSh4%1"), loop)->hide();
}

ExitFunc::~ExitFunc() {
    delete ui;
}

void ExitFunc::ForgetRemembered() {
    savedZoneText.fill(QString());
}

int ExitFunc::TypeCode(const QString& itemText) {
    if (itemText.isEmpty() || !itemText.at(0).isDigit())
        return 0;
    return itemText.at(0).digitValue();
}

QString ExitFunc::TypeText(int code) {
    return code >= 0 && code < kTypeCount ? QString::fromUtf8(kTypeTexts[code]) : QString();
}

QList<int> ExitFunc::OfferedTypes(const DeviceHeader& h) {
    // A negative build reads as a very large one, above every bound.
    const quint32 b = quint32(h.firmwareSubVersion);
    const bool exact0312 = FwEquals(h, fw::k03_12_2010);
    const bool from1605 = FwOnOrAfter(h, fw::k16_05_2012);

    QList<int> codes{0, 1, 2, 3};
    if (!(FwEquals(h, fw::k01_12_2010) && h.deviceType == DEV_D4M))
        codes << 4;
    if (!FwOnOrAfter(h, fw::k19_04_2012))
        codes << 5;
    if (from1605 || (exact0312 && (inRange(b, 11, 16) || b > 22)))
        codes << 6;
    if ((exact0312 || from1605) && (inRange(b, 31, 34) || inRange(b, 59, 66)))
        codes << 7 << 8;
    return codes;
}

bool ExitFunc::HasOutputZones(const DeviceHeader& h) {
    const quint32 b = quint32(h.firmwareSubVersion);
    return (FwOnOrAfter(h, fw::k19_04_2012) && (inRange(b, 45, 99) || b > 144)) ||
           (FwOnOrAfter(h, fw::k09_05_2012) && (inRange(b, 28, 99) || b > 127)) ||
           (FwOnOrAfter(h, fw::k16_05_2012) && (inRange(b, 22, 99) || b > 121));
}

void ExitFunc::typeChanged(int n, const QString& typeStr) {
    const bool known = !typeStr.isEmpty();
    const int t = TypeCode(typeStr);
    for (int loop = 1; loop <= kLoops; ++loop)
        findChild<QCheckBox*>(QStringLiteral("cbSh%1%2").arg(n).arg(loop))
            ->setEnabled(known && t == kConsoleLoopType);
    numbered<QLineEdit>(QStringLiteral("lePass%1"), n)->setEnabled(known && t == kUserOutputType);
    numbered<QComboBox>(QStringLiteral("combZone_%1"), n)->setEnabled(known && (t == 1 || t == 2));
}

void ExitFunc::ExitTypeChange_1(const QString& typeStr) {
    typeChanged(1, typeStr);
}

void ExitFunc::ExitTypeChange_2(const QString& typeStr) {
    typeChanged(2, typeStr);
}

void ExitFunc::ExitTypeChange_3(const QString& typeStr) {
    typeChanged(3, typeStr);
}

void ExitFunc::CancelClick() {
    const OutputsConfig& o = *settings().outputs;
    const bool shortForm = shortPasswords(header().deviceType);
    for (int n = 1; n <= kOutputs; ++n) {
        const size_t i = size_t(n - 1);
        auto* combo = numbered<QComboBox>(QStringLiteral("CombobV%1"), n);
        int found = -1;
        for (int j = 0; j < combo->count() && found < 0; ++j) {
            if (TypeCode(combo->itemText(j)) == o.outputType[i])
                found = j;
        }
        // A code the list does not offer shows no item; apply then keeps it.
        combo->setCurrentIndex(found);
        if (n <= kShownOutputs)
            typeChanged(n, combo->currentText());

        const QString& password = passwordOf(*settings().outputs, n - 1);
        numbered<QLineEdit>(QStringLiteral("lePass%1"), n)
            ->setText(shortForm ? password.right(2) : password);
        numbered<QCheckBox>(QStringLiteral("cbRazm%1"), n)->setChecked(o.outputFlagA[i] != 0);
        numbered<QCheckBox>(QStringLiteral("cbSave%1"), n)->setChecked(o.keepOnPowerOff[i] != 0);
        LoadComboIndex(numbered<QComboBox>(QStringLiteral("combZone_%1"), n), o.outputZone[i]);
    }
    for (int out = 1; out <= kOutputs; ++out) {
        for (int loop = 1; loop <= kLoops; ++loop)
            findChild<QCheckBox*>(QStringLiteral("cbSh%1%2").arg(out).arg(loop))
                ->setChecked(o.outputLoop[size_t(out - 1)][size_t(loop - 1)] != 0);
    }
}

void ExitFunc::ApplyClick() {
    OutputsConfig& o = *settings().outputs;
    const bool shortForm = shortPasswords(header().deviceType);
    for (int n = 1; n <= kOutputs; ++n) {
        const size_t i = size_t(n - 1);
        const auto* combo = numbered<QComboBox>(QStringLiteral("CombobV%1"), n);
        if (combo->currentIndex() >= 0)
            o.outputType[i] = TypeCode(combo->currentText());

        // The displayed text shows "#" in every position not typed yet.
        const QString shown = numbered<QLineEdit>(QStringLiteral("lePass%1"), n)->displayText();
        QString password = shortForm ? QStringLiteral("FF") + shown : shown;
        passwordOf(o, n - 1) = password.replace(QLatin1Char('#'), QLatin1Char('0'));

        o.outputFlagA[i] = numbered<QCheckBox>(QStringLiteral("cbRazm%1"), n)->isChecked();
        o.keepOnPowerOff[i] = numbered<QCheckBox>(QStringLiteral("cbSave%1"), n)->isChecked();
        StoreComboIndex(numbered<QComboBox>(QStringLiteral("combZone_%1"), n), o.outputZone[i]);
    }
    for (int out = 1; out <= kOutputs; ++out) {
        for (int loop = 1; loop <= kLoops; ++loop)
            o.outputLoop[size_t(out - 1)][size_t(loop - 1)] =
                findChild<QCheckBox*>(QStringLiteral("cbSh%1%2").arg(out).arg(loop))->isChecked();
    }
}

void ExitFunc::showPasswords() {
    const bool shortForm = shortPasswords(header().deviceType);
    for (int n = 1; n <= kOutputs; ++n) {
        auto* edit = numbered<QLineEdit>(QStringLiteral("lePass%1"), n);
        edit->setInputMask(shortForm ? QStringLiteral(">HH;#") : QStringLiteral(">HHHH;#"));
        const QString& password = passwordOf(*settings().outputs, n - 1);
        edit->setText(shortForm ? password.right(2) : password);
    }
}

void ExitFunc::TPribSlot(int type) {
    const bool third = header().deviceType != DEV_D4M;
    for (QWidget* w : {static_cast<QWidget*>(ui->label_6), static_cast<QWidget*>(ui->CombobV3),
                       static_cast<QWidget*>(ui->lePass3), static_cast<QWidget*>(ui->combZone_3),
                       static_cast<QWidget*>(ui->cbRazm3), static_cast<QWidget*>(ui->cbSave3)})
        w->setVisible(third);
    for (int loop = 1; loop <= kLoops; ++loop)
        numbered<QCheckBox>(QStringLiteral("cbSh3%1"), loop)->setVisible(third);

    QStringList rows{QStringLiteral("l"), QStringLiteral("cbSh1"), QStringLiteral("cbSh2")};
    if (third)
        rows << QStringLiteral("cbSh3");
    ShowLoopRows(rows, type);

    showPasswords();
    VersionChange();
}

void ExitFunc::VersionChange() {
    const DeviceHeader& h = header();
    const bool editable = FwLaterThan(h, fw::k28_01_2010);
    for (QWidget* w : {static_cast<QWidget*>(ui->label_5), static_cast<QWidget*>(ui->label_6),
                       static_cast<QWidget*>(ui->CombobV1), static_cast<QWidget*>(ui->CombobV2),
                       static_cast<QWidget*>(ui->CombobV3), static_cast<QWidget*>(ui->GbShlPCN)})
        w->setEnabled(editable);
    ui->lePass2->setEnabled(editable && TypeCode(ui->CombobV2->currentText()) == kUserOutputType);
    ui->lePass3->setEnabled(editable && TypeCode(ui->CombobV3->currentText()) == kUserOutputType);

    ui->groupBox_3->setVisible(FwOnOrAfter(h, fw::k05_06_2010));
    ui->groupBox_4->setVisible(FwOnOrAfter(h, fw::k16_08_2010));
    ui->gbZones->setVisible(HasOutputZones(h));

    QStringList items;
    for (int code : OfferedTypes(h))
        items << TypeText(code);
    for (int n = 1; n <= kOutputs; ++n) {
        auto* combo = numbered<QComboBox>(QStringLiteral("CombobV%1"), n);
        combo->clear();
        combo->addItems(items);
    }
    CancelClick();
}

void ExitFunc::setZonesList(const QStringList& zonesList, int senderType) {
    QComboBox* boxes[kOutputs] = {ui->combZone_1, ui->combZone_2, ui->combZone_3, ui->combZone_4};
    std::array<QString, kOutputs> wanted;
    std::array<int, kOutputs> shownIndex{};
    for (int n = 0; n < kOutputs; ++n) {
        wanted[size_t(n)] = boxes[n]->currentText();
        shownIndex[size_t(n)] = boxes[n]->currentIndex();
    }
    bool restored = false;
    if (senderType == kZonesObjectType) {
        if (header().objectType == OBJ_SIMPLE) {
            if (!simpleObject)
                savedZoneText = wanted;
            simpleObject = true;
        } else if (simpleObject) {
            wanted = savedZoneText;
            restored = true;
            simpleObject = false;
        }
    }

    for (QComboBox* box : boxes)
        box->clear();

    const OutputsConfig& o = *settings().outputs;
    if (simpleObject) {
        // A simple object has one zone; with no zone at all the boxes stay empty.
        if (!zonesList.isEmpty()) {
            for (QComboBox* box : boxes)
                box->addItem(zonesList.first());
        }
    } else {
        const QStringList items = QStringList{QStringLiteral("Все зоны")} + zonesList;
        for (int n = 0; n < kOutputs; ++n) {
            QComboBox* box = boxes[n];
            box->addItems(items);
            const QString& text = wanted[size_t(n)];
            if (senderType == kZonesRenamed && !restored && shownIndex[size_t(n)] < box->count()) {
                // Same zones in the same order: a renamed zone keeps its outputs.
                box->setCurrentIndex(shownIndex[size_t(n)]);
            } else if (text.isEmpty()) {
                // The box showed no zone (its stored index was not in the list):
                // look at the stored index again against the new list.
                LoadComboIndex(box, o.outputZone[size_t(n)]);
            } else {
                // By name; a zone that is gone falls back to all zones.
                int match = 0;
                for (int k = 0; k < items.size(); ++k) {
                    if (items.at(k).compare(text, Qt::CaseInsensitive) == 0) {
                        match = k;
                        break;
                    }
                }
                box->setCurrentIndex(match);
            }
        }
    }

    if (senderType == kZonesCancel) {
        for (int n = 0; n < kOutputs; ++n)
            LoadComboIndex(boxes[n], o.outputZone[size_t(n)]);
    }
}
