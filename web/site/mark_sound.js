// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The marks' tone ("Ton"): a soft sine whose pitch the core chooses
// ({hertz, met}; hertz 0 is silence), a brighter square wave where the marks
// meet. The audio context starts with the first tone, which the switch's
// click allows.
class MarkSound {
  static VOLUME = 0.08;
  static GLIDE_S = 0.03;

  play(tone) {
    const sounding = tone && tone.hertz > 0;
    if (!sounding && !this.context) return;
    if (!this.context) {
      const Context = window.AudioContext ?? window.webkitAudioContext;
      if (!Context) return;
      this.context = new Context();
      this.oscillator = this.context.createOscillator();
      this.gain = this.context.createGain();
      this.gain.gain.value = 0;
      this.oscillator.connect(this.gain).connect(this.context.destination);
      this.oscillator.start();
    }
    const now = this.context.currentTime;
    if (sounding) {
      this.oscillator.type = tone.met ? "square" : "sine";
      this.oscillator.frequency.setTargetAtTime(tone.hertz, now, MarkSound.GLIDE_S);
      if (this.context.state === "suspended") this.context.resume();
    }
    this.gain.gain.setTargetAtTime(sounding ? MarkSound.VOLUME : 0, now, MarkSound.GLIDE_S);
    this.sounding = Boolean(sounding);
    this.met = Boolean(sounding && tone.met);
  }
}
