#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box, file dialog and input dialog of the program goes through
// this one seam, so that tests can answer them without a modal window.
class Prompt {
public:
    enum Kind { Information, Warning, Critical, Question };
    // Same values as QMessageBox::StandardButton, so the widget side can pass
    // them through unchanged.
    enum Button {
        NoButton = 0x00000000,
        Ok = 0x00000400,
        Save = 0x00000800,
        Open = 0x00002000,
        Yes = 0x00004000,
        No = 0x00010000,
        Cancel = 0x00400000,
    };

    virtual ~Prompt() = default;

    virtual int message(Kind kind, QWidget* parent, const QString& title, const QString& text,
                        int buttons = Ok, int defaultButton = NoButton) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString existingDirectory(QWidget* parent, const QString& caption,
                                      const QString& dir) = 0;
    // Returns the chosen item; *ok is false when the user cancelled.
    virtual QString item(QWidget* parent, const QString& title, const QString& label,
                         const QStringList& items, int current, bool editable, bool* ok) = 0;
    virtual QString text(QWidget* parent, const QString& title, const QString& label,
                         const QString& initial, bool* ok) = 0;
};

// The prompt in use. Until one is installed, every question is answered with
// Cancel / an empty choice, so GUI-free code never blocks.
Prompt& prompt();
// Installs p (not owned); nullptr restores the silent default.
void setPrompt(Prompt* p);
