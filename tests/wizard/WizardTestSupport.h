#pragma once

// The wizard driven through its widgets by object name: on its own over a
// settings object of defaults, or inside the three top-level windows as the
// program wires them, with the simulated device on a pseudo-terminal.

#include "app/AppTestSupport.h"

#include "app/MainWindow.h"
#include "app/StartMenu.h"
#include "link/LinkTiming.h"
#include "link/PortWork.h"
#include "sim/SimDevice.h"
#include "support/SettingsFixtures.h"
#include "wizard/WizardOM.h"

#include <QtWidgets>

#include <memory>

using namespace Qt::StringLiterals;

template <class W = QWidget> W* Child(const QObject* root, const QString& name) {
    return root->findChild<W*>(name);
}

// The first field in which two settings differ; empty when equal.
inline QString FirstDifference(const DeviceSettings& got, const DeviceSettings& want) {
    const QMap<QString, QString> a = fixtures::Dump(got), b = fixtures::Dump(want);
    for (auto it = b.begin(); it != b.end(); ++it) {
        if (a.value(it.key()) != it.value())
            return u"%1 is %2, expected %3"_s.arg(it.key(), a.value(it.key()), *it);
    }
    return {};
}

// Host names the tests resolve, without a network.
struct FakeHosts {
    FakeHosts() {
        WizardOM::SetHostResolver([this](const QString& name) { return table.value(name); });
    }
    ~FakeHosts() { WizardOM::SetHostResolver(nullptr); }
    QHash<QString, QList<QHostAddress>> table;
};

class WizardDriver {
public:
    virtual ~WizardDriver() = default;
    virtual WizardOM* wizard() const = 0;

    template <class W = QWidget> W* w(const QString& name) const {
        return Child<W>(wizard(), name);
    }
    template <class W = QWidget> W* w(const QString& prefix, int n) const {
        return w<W>(prefix + QString::number(n));
    }
    void check(const QString& name, bool on = true) { w<QAbstractButton>(name)->setChecked(on); }
    void pick(const QString& name, int index) { w<QComboBox>(name)->setCurrentIndex(index); }
    void type(const QString& name, const QString& text) {
        auto* edit = w<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QAbstractButton* button(QWizard::WizardButton which) const { return wizard()->button(which); }
    int page() const { return wizard()->currentId(); }
    void next() { button(QWizard::NextButton)->click(); }
    void back() { button(QWizard::BackButton)->click(); }
    // Next until the page is shown; false when the route does not reach it.
    bool goTo(int target) {
        if (page() < 0)
            wizard()->restart();
        while (page() != target) {
            const int before = page();
            wizard()->next();
            if (page() == before)
                return false;
        }
        return true;
    }
    QStringList summary() const {
        return w<QTextEdit>(u"teSummary"_s)->toPlainText().split(QLatin1Char('\n'));
    }
    // Whether every control shown lies inside its page in the fixed window.
    bool pageFits() const {
        QCoreApplication::processEvents();
        const QWizardPage* shown = wizard()->currentPage();
        for (const QWidget* c : shown->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (c->isVisible() && !shown->rect().contains(c->geometry()))
                return false;
        }
        return true;
    }
};

// The start menu, the wizard and the main window over the simulated device.
class WizardRun : public WizardDriver {
public:
    explicit WizardRun(double linkScale = 0.1) {
        kwlink::SetLinkTimeScale(linkScale);
        simStarted = sim.Start();
        comIndex = AddComPortPath(sim.SlavePath()) - 1;
        windows = std::make_unique<TopLevelWindows>();
    }
    ~WizardRun() override {
        windows.reset();
        sim.Stop();
        WizardOM::SetWaitTimeoutMs(WizardOM::kWaitTimeoutMs);
        kwlink::SetLinkTimeScale(1.0);
    }
    WizardOM* wizard() const override { return windows->wizard; }
    MainWindow* main() const { return windows->main; }

    bool start() {
        Child<QPushButton>(windows->menu, u"pbMaster"_s)->click();
        wizard()->activateWindow();
        return simStarted && QTest::qWaitForWindowActive(wizard(), 15000);
    }
    // The simulated device's COM port, Next, its announcement: the choice page.
    bool connect(uchar model, const QDate& firmware, uchar build) {
        check(u"rbCOM"_s);
        pick(u"cbCOM"_s, comIndex);
        next();
        if (!QTest::qWaitFor([this] { return wizard()->isPortOpen(); }, 15000))
            return false;
        sim.SetIdentity(model, firmware, build);
        sim.SendGreeting();
        return QTest::qWaitFor([this] { return page() == WizardOM::PageChoose; }, 15000);
    }

    ShellFixture shell;
    SimDevice sim;
    bool simStarted = false;
    int comIndex = -1;
    std::unique_ptr<TopLevelWindows> windows;
};

// The wizard on its own over a settings object of defaults, with the main
// window's version list and three operators.
class LoneWizard : public WizardDriver {
public:
    LoneWizard() : previous(g_deviceSettings) {
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
        wiz.SetupList(2, MainWindow::FirmwareVersions());
        wiz.SetupList(3, {u"Оператор А"_s, u"Оператор Б"_s, u"Оператор В"_s});
    }
    ~LoneWizard() override { g_deviceSettings = previous; }
    WizardOM* wizard() const override { return &wiz; }

    // By hand: the version, then the model, then the settings loaded.
    void choose(int model, const QString& version) {
        wiz.StartWizard();
        check(u"rbVersion"_s);
        auto* versions = w<QComboBox>(u"cbVersion"_s);
        versions->setCurrentIndex(versions->findText(version));
        pick(u"cbTypeDev"_s, -1);
        pick(u"cbTypeDev"_s, model);
        wiz.SetupList(4, {});
    }
    const DeviceSettings& applied() {
        wiz.ApplyWizardToSettings();
        return settings;
    }

    DeviceSettings settings;
    DeviceSettings* previous;
    mutable WizardOM wiz;
};
