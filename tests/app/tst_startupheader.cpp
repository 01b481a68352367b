// Right after start-up the main window's header shows the settings that a
// programming run would send, with or without a start-up default file.

#include "AppTestSupport.h"
#include "support/Files.h"

#include "app/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

class TstStartupHeader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PrepareApplication(); }
    void headerShowsSettings_data();
    void headerShowsSettings();
};

namespace {

enum DefaultFile { NoFile, Written, Damaged };

struct HeaderFile {
    int deviceType, objectType, workMode, versionIndex;
    std::array<int, 2> useSim, checkBalance, simOperator;
};

} // namespace

Q_DECLARE_METATYPE(HeaderFile)

void TstStartupHeader::headerShowsSettings_data() {
    QTest::addColumn<int>("file");
    QTest::addColumn<HeaderFile>("header"); // what a written file holds
    const HeaderFile none{};
    QTest::newRow("no default file") << int(NoFile) << none;
    QTest::newRow("damaged default file") << int(Damaged) << none;
    QTest::newRow("simple object, system mode")
        << int(Written) << HeaderFile{DEV_D8M, OBJ_SIMPLE, MODE_SYSTEM, 12, {1, 1}, {1, 0}, {2, 4}};
    QTest::newRow("complex object, autonomous, one SIM")
        << int(Written)
        << HeaderFile{DEV_VoduzeR, OBJ_COMPLEX, MODE_AUTONOMOUS, 50, {0, 1}, {0, 1}, {1, 3}};
    // Five preset operators: index 6 names none; it is shown as no row and
    // stays what the file said.
    QTest::newRow("operator past the list")
        << int(Written)
        << HeaderFile{DEV_VororaZ, OBJ_COMPLEX, MODE_SYSTEM, 30, {1, 1}, {1, 1}, {6, 0}};
}

void TstStartupHeader::headerShowsSettings() {
    QFETCH(int, file);
    QFETCH(HeaderFile, header);
    ShellFixture fx;
    const QString autoFile = fx.file(QStringLiteral("Keelwright.auto"));
    if (file == Written) {
        QVERIFY(WriteSettings(autoFile, [&header](DeviceSettings& s) {
            DeviceHeader& h = *s.header;
            h.deviceType = header.deviceType;
            h.objectType = header.objectType;
            h.workMode = header.workMode;
            h.versionIndex = header.versionIndex;
            for (int i = 0; i < 2; ++i) {
                h.useSim[i] = u8(header.useSim[i]);
                h.checkBalance[i] = u8(header.checkBalance[i]);
                h.simOperator[i] = header.simOperator[i];
            }
        }));
    } else if (file == Damaged) {
        QVERIFY(WriteAll(autoFile, "no levels in here"));
    }
    DeviceSettings defaults;
    SetDefaultSettings(&defaults, false);
    TopLevelWindows w;
    const DeviceHeader& h = *g_deviceSettings->header;
    if (file == Written) {
        QCOMPARE(h.objectType, header.objectType);
        QCOMPARE(h.deviceType, header.deviceType);
        if (header.useSim[0]) // a SIM not in use keeps its operator
            QCOMPARE(h.simOperator[0], header.simOperator[0]);
    } else {
        QCOMPARE(h.objectType, defaults.header->objectType);
        QCOMPARE(h.workMode, defaults.header->workMode);
    }

    auto checked = [&w](const char* name) {
        return w.main->findChild<QAbstractButton*>(QLatin1String(name))->isChecked();
    };
    auto combo = [&w](const QString& name) { return w.main->findChild<QComboBox*>(name); };
    const char* families[] = {"RbD4M", "RbD8M", "rbVororaZ", "rbVoduzeR"};
    for (int t = 0; t < 4; ++t)
        QVERIFY2(checked(families[t]) == (h.deviceType == t), families[t]);
    QCOMPARE(combo("cbVersion")->currentIndex(), h.versionIndex);
    QCOMPARE(checked("RbRegAuto"), h.workMode == MODE_AUTONOMOUS);
    QCOMPARE(checked("RbRegKsar"), h.workMode != MODE_AUTONOMOUS);
    QCOMPARE(checked("Rbtobjsl"), h.objectType == OBJ_COMPLEX);
    QCOMPARE(checked("Rbtobjpr"), h.objectType != OBJ_COMPLEX);
    const int operators = int(g_deviceSettings->gsmOperators.size());
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        QCOMPARE(checked(qPrintable("cbUseSIM" + n)), bool(h.useSim[i]));
        QCOMPARE(checked(qPrintable("cbBalance" + n)), bool(h.checkBalance[i]));
        QComboBox* box = combo("CbOperators" + n);
        QCOMPARE(box->isEnabled(), bool(h.useSim[i]));
        QCOMPARE(box->count(), operators);
        QCOMPARE(box->currentIndex(), h.simOperator[i] < operators ? h.simOperator[i] : -1);
    }
    QVERIFY(!w.main->settingsChanged());
}

QTEST_MAIN(TstStartupHeader)
#include "tst_startupheader.moc"
