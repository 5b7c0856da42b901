#include "Sound.h"

#include <QSoundEffect>
#include <QUrl>

namespace qv {

TSound::TSound(QString resource) : FResource(std::move(resource)) {}
TSound::~TSound() = default;

void TSound::Play() {
  ++FPlayCount;
  if (!FEffect) {
    // Created at the first use, so a program that never plays asks nothing of the audio system.
    FEffect = std::make_unique<QSoundEffect>();
    FEffect->setSource(QUrl(QStringLiteral("qrc") + FResource));
  }
  FEffect->play();
}

}  // namespace qv
