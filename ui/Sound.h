// Short sounds of the editor, played without waiting. Without an audio device the program
// stays silent; nothing is reported.
#pragma once

#include <QString>
#include <memory>

class QSoundEffect;

namespace qv {

class TSound {
 public:
  // resource: a wave file in the program's resources, e.g. ":/flup".
  explicit TSound(QString resource);
  ~TSound();
  TSound(const TSound&) = delete;
  TSound& operator=(const TSound&) = delete;

  void Play();
  // How often Play was called.
  int PlayCount() const { return FPlayCount; }

 private:
  QString FResource;
  std::unique_ptr<QSoundEffect> FEffect;
  int FPlayCount = 0;
};

}  // namespace qv
