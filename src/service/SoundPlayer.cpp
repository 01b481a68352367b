#include "service/SoundPlayer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {

// One effect, owned by the application so that it goes before Qt does.
class EffectPlayer final : public QObject, public SoundPlayer {
public:
    explicit EffectPlayer(QObject* parent) : QObject(parent), effect(this) {}
    void play(const QString& path) override {
        effect.stop();
        effect.setSource(QUrl::fromLocalFile(path));
        effect.play();
    }
    QSoundEffect effect;
};

SoundPlayer* g_installed = nullptr;
QPointer<EffectPlayer> g_default;

} // namespace

SoundPlayer& soundPlayer() {
    if (g_installed)
        return *g_installed;
    if (!g_default)
        g_default = new EffectPlayer(QCoreApplication::instance());
    return *g_default;
}

void setSoundPlayer(SoundPlayer* p) {
    g_installed = p;
}
