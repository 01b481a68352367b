#pragma once

// The three top-level windows wired as the program wires them, the simulated
// device on a pseudo-terminal in the COM list, and helpers that drive the
// wizard through its real buttons and widgets.

#include "app/AppTestSupport.h"
#include "link/dialogs/ComboItems.h"

#include "app/MainWindow.h"
#include "app/StartMenu.h"
#include "link/LinkTiming.h"
#include "link/PortWork.h"
#include "sim/SimDevice.h"
#include "wizard/WizardOM.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>

#include <memory>

template <class W = QWidget> W* Child(const QObject* root, const QString& name) {
    return root->findChild<W*>(name);
}

// Host names the tests resolve, without a network.
struct FakeHosts {
    FakeHosts() {
        WizardOM::SetHostResolver([this](const QString& name) { return table.value(name); });
    }
    ~FakeHosts() { WizardOM::SetHostResolver(nullptr); }
    QHash<QString, QList<QHostAddress>> table;
};

class WizardRun {
public:
    explicit WizardRun(double linkScale = 0.1) {
        kwlink::SetLinkTimeScale(linkScale);
        simStarted = sim.Start();
        comIndex = AddComPortPath(sim.SlavePath()) - 1;
        windows = std::make_unique<TopLevelWindows>();
    }
    ~WizardRun() {
        windows.reset();
        sim.Stop();
        WizardOM::SetWaitTimeoutMs(WizardOM::kWaitTimeoutMs);
        kwlink::SetLinkTimeScale(1.0);
    }

    WizardOM* wizard() const { return windows->wizard; }
    MainWindow* main() const { return windows->main; }
    template <class W = QWidget> W* w(const QString& name) const {
        return Child<W>(windows->wizard, name);
    }
    QAbstractButton* button(QWizard::WizardButton which) const { return wizard()->button(which); }
    int page() const { return wizard()->currentId(); }

    // The start menu's wizard button; the wizard becomes the active window.
    bool start() {
        Child<QPushButton>(windows->menu, QStringLiteral("pbMaster"))->click();
        wizard()->activateWindow();
        return QTest::qWaitForWindowActive(wizard());
    }
    void next() { button(QWizard::NextButton)->click(); }
    void back() { button(QWizard::BackButton)->click(); }

    // Page 0 with the simulated device's COM port, Next, and the device's
    // announcement; true when the wizard reached the choice page.
    bool connect(uchar model, const QDate& firmware, uchar build) {
        w<QRadioButton>(QStringLiteral("rbCOM"))->setChecked(true);
        w<QComboBox>(QStringLiteral("cbCOM"))->setCurrentIndex(comIndex);
        next();
        if (!QTest::qWaitFor([this] { return wizard()->isPortOpen(); }, 3000))
            return false;
        sim.SetIdentity(model, firmware, build);
        sim.SendGreeting();
        return QTest::qWaitFor([this] { return page() == WizardOM::PageChoose; }, 5000);
    }

    // Next until the page is reached or no move is left; the pages passed.
    QList<int> nextUntil(int target) {
        QList<int> passed{page()};
        while (page() != target) {
            const int before = page();
            next();
            if (page() == before)
                break;
            passed << page();
        }
        return passed;
    }

    QStringList summary() const {
        return w<QTextEdit>(QStringLiteral("teSummary"))->toPlainText().split(QLatin1Char('\n'));
    }

    ShellFixture shell;
    ScriptedPrompt& prompt = shell.prompt;
    SimDevice sim;
    bool simStarted = false;
    int comIndex = -1;
    std::unique_ptr<TopLevelWindows> windows;
};

// The wizard on its own over a settings object of defaults, with the main
// window's version list and three operators; model and version chosen by hand.
class LoneWizard {
public:
    LoneWizard() : previous(g_deviceSettings) {
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
        wizard.SetupList(2, MainWindow::FirmwareVersions());
        wizard.SetupList(3, {QStringLiteral("Оператор А"), QStringLiteral("Оператор Б"),
                             QStringLiteral("Оператор В")});
    }
    ~LoneWizard() { g_deviceSettings = previous; }

    template <class W = QWidget> W* w(const QString& name) const { return Child<W>(&wizard, name); }
    // Started, then by hand: the version, then the model; the settings are
    // loaded as the main window's list 4 would load them.
    void choose(int type, const QString& version) {
        wizard.StartWizard();
        w<QRadioButton>(QStringLiteral("rbVersion"))->setChecked(true);
        auto* versions = w<QComboBox>(QStringLiteral("cbVersion"));
        versions->setCurrentIndex(versions->findText(version));
        auto* models = w<QComboBox>(QStringLiteral("cbTypeDev"));
        models->setCurrentIndex(-1);
        models->setCurrentIndex(type);
        wizard.SetupList(4, {});
    }
    // Next until the page is shown; false when the route does not reach it.
    bool goTo(int page) {
        if (wizard.currentId() < 0)
            wizard.restart();
        while (wizard.currentId() != page) {
            const int before = wizard.currentId();
            wizard.next();
            if (wizard.currentId() == before)
                return false;
        }
        return true;
    }
    QStringList summary() const {
        return w<QTextEdit>(QStringLiteral("teSummary"))->toPlainText().split(QLatin1Char('\n'));
    }

    DeviceSettings settings;
    DeviceSettings* previous;
    WizardOM wizard;
};
