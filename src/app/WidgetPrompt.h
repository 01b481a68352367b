#pragma once

#include "settings/Prompt.h"

// The real prompt: Qt's message boxes, file dialogs and input dialogs.
class WidgetPrompt final : public Prompt {
public:
    int message(Kind kind, QWidget* parent, const QString& title, const QString& text, int buttons,
                int defaultButton) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    QString item(QWidget* parent, const QString& title, const QString& label,
                 const QStringList& items, int current, bool editable, bool* ok) override;
    QString text(QWidget* parent, const QString& title, const QString& label,
                 const QString& initial, bool* ok) override;
};
