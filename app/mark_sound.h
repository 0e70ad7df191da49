// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The marks' tone ("Ton") on the default audio output: a soft sine at the
// pitch the core chooses (render/beam_marks.h), a square wave where the
// marks meet, silence while no mark lies on the screen. Without an audio
// output it plays nothing and says so.
#pragma once

#include <QObject>
#include <memory>

#include "render/beam_marks.h"

class QAudioSink;

namespace varek {

class ToneSamples;

class MarkSound : public QObject {
  Q_OBJECT
 public:
  explicit MarkSound(QObject* parent);
  ~MarkSound() override;

  // Whether the computer has an audio output to play on.
  static bool Available();
  // Plays the tone from now on; a silent tone (or none) stops it.
  void Play(const MarkTone& tone);
  const MarkTone& Playing() const { return playing_; }

 private:
  std::unique_ptr<ToneSamples> samples_;
  QAudioSink* sink_ = nullptr;
  MarkTone playing_{};
};

}  // namespace varek
