#include "app/WidgetPrompt.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

int WidgetPrompt::message(Kind kind, QWidget* parent, const QString& title, const QString& text,
                          int buttons, int defaultButton) {
    const auto b = QMessageBox::StandardButtons(buttons);
    const auto d = QMessageBox::StandardButton(defaultButton);
    switch (kind) {
    case Information:
        return QMessageBox::information(parent, title, text, b, d);
    case Warning:
        return QMessageBox::warning(parent, title, text, b, d);
    case Critical:
        return QMessageBox::critical(parent, title, text, b, d);
    case Question:
        return QMessageBox::question(parent, title, text, b, d);
    }
    return NoButton;
}

QString WidgetPrompt::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString WidgetPrompt::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString WidgetPrompt::existingDirectory(QWidget* parent, const QString& caption,
                                        const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QString WidgetPrompt::item(QWidget* parent, const QString& title, const QString& label,
                           const QStringList& items, int current, bool editable, bool* ok) {
    return QInputDialog::getItem(parent, title, label, items, current, editable, ok);
}

QString WidgetPrompt::text(QWidget* parent, const QString& title, const QString& label,
                           const QString& initial, bool* ok) {
    return QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, ok);
}
