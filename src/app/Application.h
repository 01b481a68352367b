#pragma once

#include <QString>

// The program's entry: application object, translation, the three top-level
// windows and the event loop.
int RunApplication(int argc, char* argv[]);

inline constexpr const char* kApplicationVersion = "2.29.0.7";
inline constexpr const char* kOrganisationName = "Keelwright";

class StartMenu;
class WizardOM;
class MainWindow;

// Registers the compiled-in icons (once); every window of the shell calls it
// before its form is built.
void EnsureIconResources();

// Font, version and organisation of the application object.
void PrepareApplication();

// The 26 connections between the three top-level windows.
void ConnectTopLevelWindows(StartMenu* menu, WizardOM* wizard, MainWindow* main);

// The three top-level windows, created in the order start menu, wizard, main
// window, centred, connected, with only the start menu shown; destroyed in
// the reverse order.
struct TopLevelWindows {
    TopLevelWindows();
    ~TopLevelWindows();
    TopLevelWindows(const TopLevelWindows&) = delete;
    TopLevelWindows& operator=(const TopLevelWindows&) = delete;

    StartMenu* menu = nullptr;
    WizardOM* wizard = nullptr;
    MainWindow* main = nullptr;
};

// A window title that begins with the organisation's name: "<name>. <text>".
QString OrganisationTitle(const QString& text);
