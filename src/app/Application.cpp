#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/StartMenu.h"
#include "app/WidgetPrompt.h"
#include "keys/KeysOptions.h"
#include "link/PortWork.h"
#include "service/TestPrib.h"
#include "wizard/WizardOM.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QThread>
#include <QTranslator>

QString OrganisationTitle(const QString& text) {
    const QString name = QApplication::organizationName().isEmpty()
                             ? QString::fromLatin1(kOrganisationName)
                             : QApplication::organizationName();
    return name + QStringLiteral(". ") + text;
}

static void InitIconsResource() {
    Q_INIT_RESOURCE(icons);
}

void EnsureIconResources() {
    static const bool done = [] {
        InitIconsResource();
        return true;
    }();
    (void)done;
}

namespace {
constexpr int kApplicationPixelSize = 11;

// Qt's own translation: "qt_" and the system locale, from Qt's translations
// folder when it has the language, else from "translations" in the working
// directory. The translator is installed whatever was found.
void LoadQtTranslation(QTranslator& translator) {
    const QString lang = QLocale::system().name();
    const QString qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString probe = qtDir + QStringLiteral("/qt_") + lang.left(2) + QStringLiteral(".qm");
    const QString file = QStringLiteral("qt_") + lang;
    if (QFile::exists(probe))
        (void)translator.load(file, qtDir);
    else
        (void)translator.load(file, QStringLiteral("translations"));
    QApplication::installTranslator(&translator);
}

void CentreOnDesktop(QWidget* w) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->virtualGeometry() : QRect(0, 0, 0, 0);
    const int x = desktop.width() / 2 - w->width() / 2;
    const int y = desktop.height() / 2 - w->height() / 2;
    w->move(x, y);
}
} // namespace

void ConnectTopLevelWindows(StartMenu* menu, WizardOM* wizard, MainWindow* main) {
    QObject::connect(wizard, &WizardOM::SigStartKeelwright, menu,
                     &StartMenu::SigStartKeelwright); // 1
    QObject::connect(wizard, &WizardOM::SigSetupOptionsFromMaster, main,
                     &MainWindow::SetupOptionsFromMaster);                                      // 2
    QObject::connect(menu, &StartMenu::SigStartKeelwright, main, &MainWindow::StartKeelwright); // 3
    QObject::connect(main, &MainWindow::SigWinWasHided, menu, &QWidget::show);                  // 4
    QObject::connect(menu, &StartMenu::SigStartWizard, wizard, &WizardOM::StartWizard);         // 5
    QObject::connect(menu, &StartMenu::SigSetWizardStatus, main,
                     &MainWindow::SetWizardActiveStatus);                                   // 6
    QObject::connect(menu, &StartMenu::SigStartWizard, main, &MainWindow::GetPortVerLists); // 7
    QObject::connect(wizard, &WizardOM::SigLoadDefaultSettings, main,
                     &MainWindow::LoadDefaultSettings);                                        // 8
    QObject::connect(wizard, &QDialog::rejected, menu, &StartMenu::CloseWizard);               // 9
    QObject::connect(wizard, &QDialog::accepted, menu, &StartMenu::CloseWizard);               // 10
    QObject::connect(main, &MainWindow::SigTransferList, wizard, &WizardOM::SetupList);        // 11
    QObject::connect(wizard, &WizardOM::SigOpenPort, main, &MainWindow::OpenPortForWizard);    // 12
    QObject::connect(wizard, &WizardOM::SigClosePort, main, &MainWindow::ClosePortFromMaster); // 13
    QObject::connect(main, &MainWindow::SigPortOpenStatus, wizard,
                     &WizardOM::SetOpenPortStatus);                                            // 14
    QObject::connect(main, &MainWindow::SigDeviceWasConnect, wizard, &WizardOM::SetConnectOk); // 15
    QObject::connect(main, &MainWindow::SigSetProgress, wizard,
                     &WizardOM::SetProgrammingProgress); // 16
    QObject::connect(main, &MainWindow::SigProgrammingStatus, wizard,
                     &WizardOM::SetStatusProgramming); // 17
    QObject::connect(wizard, &WizardOM::SigShowKeyConfigWindow, main,
                     &MainWindow::StartKeysOpt);                                          // 18
    QObject::connect(wizard, &WizardOM::SigShowTestWindow, main, &MainWindow::StartTest); // 19
    QObject::connect(main->testPrib(), &TestPrib::SigExitWindow, wizard,
                     &WizardOM::ExitFromKeysOrTest); // 20
    QObject::connect(main->keysOptions(), &KeysOptions::SigExitWindow, wizard,
                     &WizardOM::ExitFromKeysOrTest); // 21
    QObject::connect(wizard, &WizardOM::SigReadEEPROM, main->portWork(),
                     &PortWork::ReadEEPROMClick);                                            // 22
    QObject::connect(main, &MainWindow::SigSetProgress, wizard, &WizardOM::SetReadProgress); // 23
    QObject::connect(main, &MainWindow::SigReadEEPROMStatus, wizard,
                     &WizardOM::SetReadEEPROMStatus); // 24
    QObject::connect(wizard, &WizardOM::SigBreakOperation, main,
                     &MainWindow::SigBreakOperation);                                    // 25
    QObject::connect(main, &MainWindow::SigReadTimeOut, wizard, &WizardOM::ReadTimeOut); // 26
}

TopLevelWindows::TopLevelWindows() {
    EnsureIconResources();
    menu = new StartMenu;
    wizard = new WizardOM;
    main = new MainWindow;
    main->setWindowTitle(MainWindow::MainTitle(QApplication::applicationVersion()));
    for (QWidget* w :
         {static_cast<QWidget*>(menu), static_cast<QWidget*>(wizard), static_cast<QWidget*>(main)})
        CentreOnDesktop(w);
    ConnectTopLevelWindows(menu, wizard, main);
    menu->setVisible(true);
}

TopLevelWindows::~TopLevelWindows() {
    delete main;
    delete wizard;
    delete menu;
}

void PrepareApplication() {
    QFont font = QApplication::font();
    font.setPixelSize(kApplicationPixelSize);
    QApplication::setFont(font);
    QApplication::setApplicationVersion(QString::fromLatin1(kApplicationVersion));
    QApplication::setOrganizationName(QString::fromLatin1(kOrganisationName));
}

int RunApplication(int argc, char* argv[]) {
    QApplication app(argc, argv);
    PrepareApplication();
    QTranslator translator;
    QThread::currentThread()->setPriority(QThread::HighPriority);
    LoadQtTranslation(translator);
    WidgetPrompt widgetPrompt;
    setPrompt(&widgetPrompt);
    int rc = 0;
    {
        TopLevelWindows windows;
        rc = app.exec();
    }
    setPrompt(nullptr);
    return rc;
}
