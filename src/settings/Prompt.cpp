#include "settings/Prompt.h"

namespace {

class SilentPrompt final : public Prompt {
public:
    int message(Kind, QWidget*, const QString&, const QString&, int buttons, int) override {
        if (buttons & Cancel)
            return Cancel;
        if (buttons & No)
            return No;
        return Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    QString item(QWidget*, const QString&, const QString&, const QStringList&, int, bool,
                 bool* ok) override {
        if (ok)
            *ok = false;
        return {};
    }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool* ok) override {
        if (ok)
            *ok = false;
        return {};
    }
};

SilentPrompt g_silent;
Prompt* g_prompt = nullptr;

} // namespace

Prompt& prompt() {
    return g_prompt ? *g_prompt : g_silent;
}

void setPrompt(Prompt* p) {
    g_prompt = p;
}
