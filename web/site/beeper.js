// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// A short tone for the beep, once the page may make sound.
export class Beeper {
  beep() {
    try {
      this.audio ??= new AudioContext();
      const tone = this.audio.createOscillator();
      const gain = this.audio.createGain();
      tone.frequency.value = 880;
      gain.gain.value = 0.15;
      tone.connect(gain).connect(this.audio.destination);
      tone.start();
      tone.stop(this.audio.currentTime + 0.12);
    } catch {
      // No sound on this device: the mark still shows.
    }
  }
}
