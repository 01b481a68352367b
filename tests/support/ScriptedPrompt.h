#pragma once

#include "settings/Prompt.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Answers prompts from queues filled by the test and records what was asked.
// An empty queue answers like a user pressing Cancel.
class ScriptedPrompt final : public Prompt {
public:
    struct Asked {
        Kind kind;
        QString title;
        QString text;
    };

    QQueue<int> buttons;
    QQueue<QString> files;
    QQueue<QString> items;
    QList<Asked> asked;
    // Runs while an open-file dialog would be on screen, before its answer.
    std::function<void()> whileChoosing;
    // Runs while a message box would be on screen, before its answer.
    std::function<void()> whileAsking;

    ScriptedPrompt() { setPrompt(this); }
    ~ScriptedPrompt() override { setPrompt(nullptr); }

    int message(Kind kind, QWidget*, const QString& title, const QString& text, int b,
                int) override {
        asked.append({kind, title, text});
        if (whileAsking)
            whileAsking();
        if (!buttons.isEmpty())
            return buttons.dequeue();
        return (b & Cancel) ? Cancel : (b & No) ? No : Ok;
    }
    QString openFileName(QWidget*, const QString& caption, const QString&,
                         const QString&) override {
        asked.append({Question, caption, QString()});
        if (whileChoosing)
            whileChoosing();
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&,
                         const QString&) override {
        asked.append({Question, caption, QString()});
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString existingDirectory(QWidget*, const QString& caption, const QString&) override {
        asked.append({Question, caption, QString()});
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString item(QWidget*, const QString& title, const QString& label, const QStringList&, int,
                 bool, bool* ok) override {
        asked.append({Question, title, label});
        if (ok)
            *ok = !items.isEmpty();
        return items.isEmpty() ? QString() : items.dequeue();
    }
    QString text(QWidget*, const QString& title, const QString& label, const QString&,
                 bool* ok) override {
        asked.append({Question, title, label});
        if (ok)
            *ok = !items.isEmpty();
        return items.isEmpty() ? QString() : items.dequeue();
    }
    // Messages whose text contains the given fragment.
    int count(const QString& fragment) const {
        int n = 0;
        for (const auto& a : asked)
            n += a.text.contains(fragment) || a.title.contains(fragment);
        return n;
    }
};
