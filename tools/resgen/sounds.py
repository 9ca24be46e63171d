"""Synthesised sound effects: 16-bit PCM WAV, 44.1 kHz, mono.

Each sound is a list of float samples built from a few generators (tones,
noise, resonant filters, a formant voice) and finished the same way: a short
fade at both ends so it starts and ends at silence without a click, then
normalised to a peak of -1 dBFS. ``SOUNDS`` maps each file name the game
plays to its recipe; noise comes from fixed seeds, so the bytes never change.
"""

import array
import math
import random
import sys
import wave

RATE = 44100
PEAK = 10.0 ** (-1.0 / 20.0)  # -1 dBFS
FADE_SECONDS = 0.004
COEFFICIENT_STEP = 32  # samples between updates of a moving filter (0.7 ms)


def write_wav(path, samples):
    """Writes float samples in -1..1 as 16-bit little-endian mono PCM at RATE."""
    frames = array.array("h", (int(round(max(-1.0, min(1.0, s)) * 32767.0)) for s in samples))
    if sys.byteorder == "big":
        frames.byteswap()
    with wave.open(path, "wb") as output:
        output.setnchannels(1)
        output.setsampwidth(2)
        output.setframerate(RATE)
        output.writeframes(frames.tobytes())


def finished(samples):
    """Fades both ends to zero over FADE_SECONDS and normalises the peak to PEAK."""
    fade = int(FADE_SECONDS * RATE)
    count = len(samples)
    result = list(samples)
    for i in range(min(fade, count)):
        gain = 0.5 - 0.5 * math.cos(math.pi * i / fade)
        result[i] *= gain
        result[count - 1 - i] *= gain
    result[0] = result[-1] = 0.0
    peak = max(abs(s) for s in result)
    return [s * PEAK / peak for s in result] if peak > 0.0 else result


# Generators -----------------------------------------------------------------


def seconds(duration):
    return int(duration * RATE)


def noise(duration, seed):
    generator = random.Random(seed)
    return [generator.uniform(-1.0, 1.0) for _ in range(seconds(duration))]


def envelope(samples, shape):
    """Multiplies each sample by shape(t) with t in seconds."""
    return [s * shape(i / RATE) for i, s in enumerate(samples)]


def decaying(rate):
    return lambda t: math.exp(-t * rate)


def attack_decay(attack, rate):
    return lambda t: (t / attack) if t < attack else math.exp(-(t - attack) * rate)


def mix(*tracks):
    """The tracks added sample by sample; the result is as long as the longest."""
    result = [0.0] * max(len(t) for t in tracks)
    for track in tracks:
        for i, sample in enumerate(track):
            result[i] += sample
    return result


def delayed(samples, delay):
    return [0.0] * seconds(delay) + list(samples)


def gained(samples, gain):
    return [s * gain for s in samples]


def glide_tone(duration, frequency, partials=((1, 1.0),)):
    """A tone whose frequency(t) may vary; partials are (multiple, amplitude)."""
    phases, phase = [], 0.0
    for i in range(seconds(duration)):
        phase += 2.0 * math.pi * frequency(i / RATE) / RATE
        phases.append(phase)
    return mix(*([amplitude * math.sin(multiple * p) for p in phases]
                 for multiple, amplitude in partials))


def constant(value):
    return lambda t: value


def bell(duration, frequency, decay):
    """A struck bell: inharmonic partials, the higher ones dying faster."""
    partials = ((1.0, 1.0, 1.0), (2.76, 0.45, 1.6), (5.4, 0.25, 2.4), (8.93, 0.12, 3.5))
    return mix(*(gained(envelope(glide_tone(duration, constant(frequency * ratio)),
                                 attack_decay(0.002, decay * speed)), gain)
                 for ratio, gain, speed in partials))


def resonator(samples, centre, bandwidth):
    """Two-pole band-pass filter; centre and bandwidth in Hz (numbers or
    functions of t, followed every COEFFICIENT_STEP samples)."""
    centre_at = centre if callable(centre) else constant(centre)
    width_at = bandwidth if callable(bandwidth) else constant(bandwidth)
    y1 = y2 = 0.0
    out = []
    for i, x in enumerate(samples):
        if i % COEFFICIENT_STEP == 0:
            t = i / RATE
            r = math.exp(-math.pi * width_at(t) / RATE)
            a1 = 2.0 * r * math.cos(2.0 * math.pi * centre_at(t) / RATE)
            gain, a2 = 1.0 - r, r * r
        y = gain * x + a1 * y1 - a2 * y2
        y2, y1 = y1, y
        out.append(y)
    return out


def low_pass(samples, cutoff):
    alpha = 1.0 - math.exp(-2.0 * math.pi * cutoff / RATE)
    state, out = 0.0, []
    for x in samples:
        state += alpha * (x - state)
        out.append(state)
    return out


def voice(duration, pitch, formants, loudness, breath=0.05, seed=0):
    """A vowel-like voice: a glottal pulse train at pitch(t) through parallel
    formant resonators [(frequency or frequency(t), bandwidth, gain)], shaped by loudness(t)."""
    generator = random.Random(seed)
    phase, source = 0.0, []
    for i in range(seconds(duration)):
        phase = (phase + pitch(i / RATE) / RATE) % 1.0
        pulse = (1.0 - 2.0 * phase) if phase < 0.6 else -0.2  # bright, saw-like glottal wave
        source.append(pulse + breath * generator.uniform(-1.0, 1.0))
    shaped = mix(*(gained(resonator(source, f, bw), g) for f, bw, g in formants))
    return envelope(shaped, loudness)


def syllables(starts, length, attack=0.015, release=0.05):
    """Loudness of separate syllables starting at the given times."""
    def shape(t):
        for start in starts:
            local = t - start
            if 0.0 <= local < length:
                rise = min(1.0, local / attack)
                fall = min(1.0, (length - local) / release)
                return rise * fall
        return 0.0
    return shape


# Recipes ---------------------------------------------------------------------


def footstep_grass():
    """A soft step on grass: a dull thud under a short crackle of blades, twice
    (heel, then toe)."""
    def step(seed):
        muffled = low_pass(low_pass(noise(0.12, seed), 250.0), 250.0)
        thud = envelope(muffled, attack_decay(0.008, 45.0))
        grains = random.Random(seed + 1)
        crackle = [s if grains.random() < 0.12 else 0.0 for s in noise(0.12, seed + 2)]
        rustle = envelope(resonator(crackle, 3200.0, 2500.0), attack_decay(0.012, 30.0))
        return mix(gained(thud, 4.0), rustle)
    return mix(step(101), gained(delayed(step(104), 0.08), 0.6), [0.0] * seconds(0.24))


def wood_knock():
    """A hollow knock: a click and three wooden modes decaying fast."""
    modes = mix(*(gained(envelope(glide_tone(0.3, constant(f)), attack_decay(0.001, rate)), g)
                  for f, g, rate in ((420.0, 1.0, 30.0), (910.0, 0.6, 45.0), (1530.0, 0.3, 60.0))))
    click = envelope(noise(0.3, 111), decaying(300.0))
    return mix(modes, gained(click, 0.5))


def homerunbat():
    """A sharp crack: a broadband snap, bright ringing of the bat, a short tail."""
    snap = envelope(noise(0.7, 121), decaying(90.0))
    ring = mix(*(gained(envelope(glide_tone(0.7, constant(f)), attack_decay(0.0005, rate)), g)
                 for f, g, rate in ((1850.0, 0.5, 18.0), (3120.0, 0.35, 25.0), (640.0, 0.4, 12.0))))
    tail = envelope(low_pass(noise(0.7, 122), 3000.0), decaying(9.0))
    return mix(gained(snap, 1.4), ring, gained(tail, 0.15))


def fast_swing_woosh():
    """Air rushing past: band-passed noise sweeping up then down under a swell."""
    duration = 0.45
    sweep = lambda t: 500.0 + 1700.0 * math.sin(math.pi * t / duration)
    swell = lambda t: math.sin(math.pi * t / duration) ** 2
    return envelope(resonator(noise(duration, 131), sweep, 400.0), swell)


def gem_collect():
    """A bright rising arpeggio of bells: C6, E6, G6, C7."""
    notes = (1046.5, 1318.5, 1568.0, 2093.0)
    return mix(*(gained(delayed(bell(0.6, f, 6.0), 0.07 * i), 0.8 + 0.1 * i)
                 for i, f in enumerate(notes)))


def secret_chime():
    """A slow shimmering arpeggio that rings out."""
    notes = (784.0, 987.8, 1174.7, 1568.0, 1975.5)
    return mix(*(delayed(bell(1.3, f, 3.0), 0.14 * i) for i, f in enumerate(notes)))


def large_mechanical_door():
    """About three seconds: a heavy clank, a grinding motor rumble, a final thud."""
    duration = 3.0
    hum = glide_tone(duration, lambda t: 48.0 + 4.0 * math.sin(2.0 * math.pi * 3.0 * t),
                     ((1, 1.0), (2, 0.6), (3, 0.4), (5, 0.2)))
    running = lambda t: min(1.0, t / 0.25) * min(1.0, max(0.0, (2.75 - t) / 0.3))
    grind = resonator(noise(duration, 141), 180.0, 120.0)
    clank = envelope(mix(glide_tone(0.6, constant(95.0)), gained(noise(0.6, 142), 0.6)),
                     decaying(12.0))
    thud = envelope(glide_tone(0.3, lambda t: 70.0 - 30.0 * t), decaying(14.0))
    return mix(envelope(mix(gained(hum, 0.5), gained(grind, 6.0)), running),
               clank, delayed(thud, 2.68), [0.0] * seconds(duration))


def cartoon_laugh():
    """'Ha-ha-ha-ha!': bright syllables, the pitch bouncing down."""
    starts = [0.13 * i for i in range(6)]
    pitch = lambda t: 330.0 - 60.0 * t + 40.0 * (1.0 - ((t % 0.13) / 0.13))
    formants = ((800.0, 90.0, 1.0), (1250.0, 110.0, 0.6), (2600.0, 160.0, 0.25))
    return voice(0.85, pitch, formants, syllables(starts, 0.1), breath=0.25, seed=151)


def old_man_laugh():
    """'Heh-heh-heh': a low, wobbly, breathy laugh."""
    starts = [0.18 * i for i in range(5)]
    pitch = lambda t: 125.0 + 12.0 * math.sin(2.0 * math.pi * 7.0 * t) - 15.0 * t
    formants = ((520.0, 80.0, 1.0), (1800.0, 130.0, 0.5), (2500.0, 180.0, 0.2))
    return voice(0.95, pitch, formants, syllables(starts, 0.13, release=0.07), breath=0.4,
                 seed=161)


def giant_startled():
    """A deep 'HUH?!' rising in surprise."""
    duration = 0.75
    pitch = lambda t: 70.0 + 90.0 * (t / duration) ** 2
    formants = ((lambda t: 550.0 + 150.0 * t, 100.0, 1.0), (1000.0, 120.0, 0.6),
                (2400.0, 200.0, 0.15))
    loudness = lambda t: min(1.0, t / 0.03) * min(1.0, (duration - t) / 0.12)
    return voice(duration, pitch, formants, loudness, breath=0.3, seed=171)


def falling_yodel():
    """'Yo-dl-ay-ee-oo...': a yodel flipping between chest and head voice while falling away."""
    duration = 1.9
    flip = lambda t: 1.0 if int(t / 0.16) % 2 else 1.55
    pitch = lambda t: (300.0 - 80.0 * t) * flip(t)
    vowel = lambda t: 400.0 if int(t / 0.16) % 2 else 750.0
    formants = ((vowel, 90.0, 1.0), (lambda t: 900.0 if int(t / 0.16) % 2 else 2100.0, 130.0,
                                     0.5), (2800.0, 200.0, 0.15))
    loudness = lambda t: min(1.0, t / 0.05) * math.exp(-0.6 * t) * min(1.0, (duration - t) / 0.3)
    return voice(duration, pitch, formants, loudness, breath=0.08, seed=181)


def cute_broop():
    """A small 'broop': a bubbly glide upwards through an 'oo'."""
    duration = 0.35
    pitch = lambda t: 300.0 + 500.0 * (t / duration) + 30.0 * math.sin(2.0 * math.pi * 28.0 * t)
    formants = ((lambda t: 350.0 + 300.0 * t / duration, 80.0, 1.0), (800.0, 120.0, 0.4))
    loudness = lambda t: min(1.0, t / 0.02) * min(1.0, (duration - t) / 0.08)
    return voice(duration, pitch, formants, loudness, breath=0.05, seed=191)


def reewrffft():
    """'Reeew' squeal falling into an 'rffft' of rough, breathy air."""
    squeal_length = 0.45
    pitch = lambda t: 950.0 - 500.0 * t / squeal_length
    formants = ((lambda t: 2300.0 - 1900.0 * t / squeal_length, 150.0, 0.8),
                (lambda t: 400.0 + 200.0 * t / squeal_length, 90.0, 1.0))
    squeal = voice(squeal_length, pitch, formants,
                   lambda t: min(1.0, t / 0.03) * min(1.0, (squeal_length - t) / 0.06),
                   breath=0.1, seed=201)
    growl = voice(0.4, lambda t: 90.0 + 20.0 * math.sin(2.0 * math.pi * 30.0 * t),
                  ((600.0, 200.0, 1.0),), lambda t: min(1.0, t / 0.02) * math.exp(-5.0 * t),
                  breath=1.5, seed=202)
    hiss = envelope(resonator(noise(0.4, 203), 3500.0, 1500.0),
                    lambda t: min(1.0, t / 0.03) * math.exp(-6.0 * t))
    return mix(squeal, delayed(mix(gained(growl, 0.6), gained(hiss, 2.0)), 0.42))


def scream_high():
    """A high, rough 'aaah!' with a tense vibrato."""
    duration = 1.0
    pitch = lambda t: 1050.0 + 60.0 * math.sin(2.0 * math.pi * 9.0 * t) - 150.0 * t
    formants = ((1000.0, 150.0, 1.0), (1500.0, 180.0, 0.7), (3000.0, 300.0, 0.3))
    loudness = lambda t: min(1.0, t / 0.04) * min(1.0, (duration - t) / 0.25)
    return voice(duration, pitch, formants, loudness, breath=0.35, seed=211)


SOUNDS = {
    "footstep_grass.wav": footstep_grass,
    "wood_knock.wav": wood_knock,
    "homerunbat.wav": homerunbat,
    "fast_swing_woosh.wav": fast_swing_woosh,
    "gem_collect.wav": gem_collect,
    "secret_chime.wav": secret_chime,
    "large_mechanical_door.wav": large_mechanical_door,
    "cartoon_laugh.wav": cartoon_laugh,
    "old_man_laugh.wav": old_man_laugh,
    "giant_startled.wav": giant_startled,
    "falling_yodel.wav": falling_yodel,
    "cute_broop.wav": cute_broop,
    "reewrffft.wav": reewrffft,
    "scream_high.wav": scream_high,
}


def write_all(folder):
    """Writes every sound of SOUNDS into folder."""
    for name, recipe in SOUNDS.items():
        write_wav("%s/%s" % (folder, name), finished(recipe()))
