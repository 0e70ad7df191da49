// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mark_sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace varek {

namespace {
constexpr int kRate = 44100;      // samples per second
constexpr double kVolume = 2600;  // of 32767: as soft as the page's tone
}  // namespace

// Endless 16-bit mono samples of the tone in force; the phase runs on when
// the pitch changes, so a sweep of the current glides without clicks.
class ToneSamples : public QIODevice {
 public:
  ToneSamples() { open(QIODevice::ReadOnly); }
  void Set(const MarkTone& tone) { tone_ = tone; }

 protected:
  qint64 readData(char* data, qint64 size) override {
    const qint64 count = size / 2;
    auto* out = reinterpret_cast<std::int16_t*>(data);
    for (qint64 i = 0; i < count; ++i) {
      double value = 0;
      if (!tone_.silent) {
        phase_ = std::fmod(phase_ + tone_.hertz / kRate, 1.0);
        value =
            tone_.met ? (phase_ < 0.5 ? 1.0 : -1.0) * 0.5 : std::sin(2 * std::numbers::pi * phase_);
      }
      out[i] = static_cast<std::int16_t>(std::lrint(value * kVolume));
    }
    return count * 2;
  }
  qint64 writeData(const char* /*data*/, qint64 /*size*/) override { return -1; }
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

 private:
  MarkTone tone_{};
  double phase_ = 0;
};

MarkSound::MarkSound(QObject* parent) : QObject(parent) {}

MarkSound::~MarkSound() {
  if (sink_ != nullptr) sink_->stop();
}

bool MarkSound::Available() { return !QMediaDevices::defaultAudioOutput().isNull(); }

void MarkSound::Play(const MarkTone& tone) {
  playing_ = tone;
  if (tone.silent && sink_ == nullptr) return;
  if (sink_ == nullptr) {
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    samples_ = std::make_unique<ToneSamples>();
    sink_ = new QAudioSink(output, format, this);
    sink_->start(samples_.get());
  }
  samples_->Set(tone);
}

}  // namespace varek
