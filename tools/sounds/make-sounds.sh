#!/bin/bash
# Makes every sound of the game from parameters with sox, writes them to
# Resources/Sounds/*.ogg and writes Resources/Banks/SoundBank.zorvel.
#
#   tools/sounds/make-sounds.sh          # from anywhere in the repository
#
# Conventions (see the art direction): OGG Vorbis at 44.1 kHz; effects mono
# and peaking at -3 dBFS; music and the wind stereo and quieter; loops are
# wrapped (their tail mixed back over their start) so the end runs straight
# into the beginning without a click; variants of a sound differ in pitch,
# timing and texture. sox runs with -R, so the same parameters give the
# same files every time.
#
# Index: helpers - music (notes, voices, the three pieces) - ambience and
# loops - effects - the bank.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT="$ROOT/Resources/Sounds"
BANK="$ROOT/Resources/Banks/SoundBank.zorvel"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT" "$(dirname "$BANK")"
rm -f "$OUT"/*.ogg

RATE=44100
SOX="sox -R -V1"
BANK_TEXT=""

# ---------------------------------------------------------------- helpers

# gen OUT EFFECT...: synthesise from nothing at the game's rate, 16-bit.
gen() {
    local out=$1
    shift
    $SOX -r $RATE -n -b 16 "$out" "$@"
}

# decay TYPE ATTACK LENGTH: a fade that rises over ATTACK seconds and
# then falls for the rest of LENGTH ("0.3" seconds, or "13230s" samples
# at the game's rate).
decay() {
    local len=$3
    [[ $len == *s ]] && len=$(awk -v n="${len%s}" -v r=$RATE 'BEGIN{print n / r}')
    echo "fade $1 $2 $len $(awk -v l="$len" -v a="$2" 'BEGIN{print l - a}')"
}

# bank NAME STREAM VOLUME [music]: one entry of the sound bank for
# Sounds/NAME.ogg; "music" keeps it out of the effects volume.
bank() {
    local music=""
    [ "${4:-}" = music ] && music="
    Music:true"
    BANK_TEXT+="  Sound
    Name:$1
    Stream:$2$music
    Volume:$3
    Filename:Resources/Sounds/$1.ogg
  -Sound
"
}

# finish_effect NAME VOLUME [STREAM]: WORK/NAME.wav as a one-shot effect
# (mono, peak -3 dBFS), encoded and entered in the bank.
finish_effect() {
    local name=$1 volume=$2 stream=${3:-false}
    $SOX "$WORK/$name.wav" -c 1 "$WORK/$name.final.wav" gain -n -3
    # Vorbis smears the first and last few samples of a file; at quality 8
    # a loop's seam stays below the size of its ordinary sample steps.
    local quality=5
    [ "$stream" = true ] && quality=8
    $SOX "$WORK/$name.final.wav" -C $quality "$OUT/$name.ogg"
    bank "$name" "$stream" "$volume"
}

# rms_db FILE: the overall RMS level in dBFS.
rms_db() { $SOX "$1" -n stats 2>&1 | awk '/^RMS lev dB/ {print $4; exit}'; }
peak_db() { $SOX "$1" -n stats 2>&1 | awk '/^Pk lev dB/ {print $4; exit}'; }

# level IN OUT RMS: gain to that RMS level, but never past -1 dBFS peak.
level() {
    local rms peak g
    rms=$(rms_db "$1")
    peak=$(peak_db "$1")
    g=$(awk -v t="$3" -v r="$rms" -v p="$peak" 'BEGIN { g = t - r; if (p + g > -1) g = -1 - p; print g }')
    $SOX "$1" "$2" gain "$g"
}

# wrap IN OUT SECONDS: a loop of exactly SECONDS whose tail (whatever IN
# has past SECONDS: ringing notes, reverb) is mixed back over its start,
# as it would sound when the loop plays again.
wrap() {
    $SOX "$1" "$WORK/wrap_body.wav" trim 0 "$3"
    $SOX "$1" "$WORK/wrap_tail.wav" trim "$3"
    $SOX -m -v 1 "$WORK/wrap_body.wav" -v 1 "$WORK/wrap_tail.wav" "$2"
}

# crossloop IN OUT SECONDS FADE: a loop of noise: the FADE seconds after
# SECONDS fade out over the loop's start while the start fades in.
crossloop() {
    $SOX "$1" "$WORK/cl_body.wav" trim 0 "$3" fade q "$4"
    $SOX "$1" "$WORK/cl_tail.wav" trim "$3" "$4" fade q 0 "$4" "$4"
    $SOX -m -v 1 "$WORK/cl_body.wav" -v 1 "$WORK/cl_tail.wav" "$2"
}

# ------------------------------------------------------------------ music

# semi NOTE: semitones from A4 (440 Hz), the form sox's %n takes.
# NOTE is a name, optional # or b, and an octave (C5, F#2, Bb4), or "n"
# and a number of semitones already worked out (n-9).
semi() {
    local n=$1 letter=${1:0:1} rest=${1:1} base acc=0
    if [ "$letter" = n ]; then
        echo "$rest"
        return
    fi
    case $letter in
    C) base=0 ;; D) base=2 ;; E) base=4 ;; F) base=5 ;;
    G) base=7 ;; A) base=9 ;; B) base=11 ;;
    *) echo "bad note $n" >&2; exit 1 ;;
    esac
    case $rest in
    \#*) acc=1; rest=${rest:1} ;;
    b*) acc=-1; rest=${rest:1} ;;
    esac
    echo $((12 * (rest - 4) + base + acc - 9))
}

UNIT=11025 # samples per step of the piece being made (set per piece)

# Voices: make_VOICE SEMI STEPS OUT. Each note lasts exactly STEPS*UNIT
# samples so a voice is the plain concatenation of its notes.

# Music box / glockenspiel: a sine with two soft overtones, dying away.
make_bell() {
    local n=$(($2 * UNIT))
    gen "$3" synth ${n}s sine %$1 sine %$(($1 + 12)) sine %$(($1 + 19)) \
        remix 1v0.7,2v0.22,3v0.06 fade l 0.004 ${n}s $(awk -v n=$n 'BEGIN{print n/44100 - 0.004}')
}
# Vibraphone: the bell with a slow shimmer, for the jazz piece.
make_vibe() {
    local n=$(($2 * UNIT))
    gen "$3" synth ${n}s sine %$1 sine %$(($1 + 24)) remix 1v0.8,2v0.12 tremolo 5.5 35 \
        fade l 0.006 ${n}s $(awk -v n=$n 'BEGIN{print n/44100 - 0.006}')
}
# Harp / guitar: sox's plucked string, closed with a short fade.
make_pluck() {
    local n=$(($2 * UNIT))
    gen "$3" synth ${n}s pluck %$1 fade t 0.002 ${n}s 0.02 vol 0.8
}
# Bass: the plucked string an octave low, warmed with a sine under it.
make_bass() {
    local n=$(($2 * UNIT))
    gen "$3" synth ${n}s pluck %$1 sine %$1 remix 1v0.7,2v0.3 lowpass 900 \
        fade t 0.004 ${n}s 0.05
}
# Pad: a soft triangle chord; SEMI is "a,b,c".
make_pad() {
    local n=$(($2 * UNIT)) a b c
    IFS=, read -r a b c <<<"$1"
    gen "$3" synth ${n}s triangle %$a triangle %$b triangle %$c remix 1v0.33,2v0.33,3v0.33 \
        lowpass 1400 fade h 0.25 ${n}s 0.4
}
# Jazz piano comp: a plucked chord; SEMI is "a,b,c,d".
make_comp() {
    local n=$(($2 * UNIT)) a b c d
    IFS=, read -r a b c d <<<"$1"
    gen "$3" synth ${n}s pluck %$a pluck %$b pluck %$c pluck %$d \
        remix 1v0.25,2v0.25,3v0.25,4v0.25 lowpass 2500 fade t 0.003 ${n}s 0.03
}
# Percussion; SEMI picks the kind.
make_perc() {
    local n=$(($2 * UNIT))
    case $1 in
    shaker) gen "$3" synth 2600s whitenoise highpass 6000 $(decay l 0.003 2600s) pad 0 $((n - 2600))s ;;
    snare) gen "$3" synth 5000s whitenoise sine 190 remix 1v0.8,2v0.3 bandpass 1800 1.2q \
        $(decay l 0.002 5000s) pad 0 $((n - 5000))s ;;
    ride) gen "$3" synth ${n}s whitenoise sine 3150 sine 4730 sine 6320 \
        remix 1v0.35,2v0.25,3v0.2,4v0.15 highpass 2500 $(decay l 0.002 ${n}s) ;;
    tap) gen "$3" synth 4000s whitenoise sine 3150 sine 4730 remix 1v0.35,2v0.2,3v0.15 \
        highpass 3000 $(decay l 0.002 4000s) vol 0.5 pad 0 $((n - 4000))s ;;
    esac
}

# note VOICE SEMI STEPS: path of that note (made once, then reused).
note() {
    local f="$WORK/note_${UNIT}_$1_${2//,/_}_$3.wav"
    if [ ! -f "$f" ]; then
        if [ "$2" = R ]; then
            $SOX -r $RATE -n -b 16 "$f" trim 0 $(($3 * UNIT))s
        else
            "make_$1" "$2" "$3" "$f"
        fi
    fi
    echo "$f"
}

# voice VOICE OUT TOKENS...: a line of notes as one mono file. A token is
# PITCH:STEPS -- a note (C5, n-9), a chord in semitones (-9,-5,-2), a
# percussion kind (shaker) or R for a rest -- or "|", a bar line; every bar
# must come to BAR steps (BAR=0: no bars).
voice() {
    local kind=$1 out=$2
    shift 2
    local files=() bar=0 tok pitch steps s f
    for tok in "$@"; do
        if [ "$tok" = "|" ]; then
            [ $BAR -eq 0 ] || [ $bar -eq $BAR ] || { echo "$out: a bar of $bar steps, not $BAR" >&2; exit 1; }
            bar=0
            continue
        fi
        pitch=${tok%%:*}
        steps=${tok##*:}
        bar=$((bar + steps))
        if [ "$pitch" = R ]; then
            s=R
        elif [[ $pitch == *,* || $pitch =~ ^[a-mo-z] ]]; then
            s=$pitch
        else
            s=$(semi "$pitch")
        fi
        f=$(note "$kind" "$s" "$steps") || exit 1
        files+=("$f")
    done
    [ $BAR -eq 0 ] || [ $bar -eq 0 ] || [ $bar -eq $BAR ] || { echo "$out: last bar has $bar steps" >&2; exit 1; }
    $SOX "${files[@]}" "$out"
}

# transpose SEMITONES TOKENS...: the same line moved by SEMITONES.
transpose() {
    local by=$1 tok pitch
    shift
    for tok in "$@"; do
        pitch=${tok%%:*}
        if [ "$tok" = "|" ] || [ "$pitch" = R ]; then
            echo "$tok"
        else
            echo "n$(($(semi "$pitch") + by)):${tok##*:}"
        fi
    done
}
# chord ROOT QUALITY: "root third fifth seventh" in semitones for a root
# like C3 and a quality M, m or 7 (dominant) / m7 / M7.
chord() {
    local r third=4 seventh=11
    r=$(semi "$1")
    case $2 in
    m) third=3; seventh=10 ;;
    m7) third=3; seventh=10 ;;
    7) seventh=10 ;;
    esac
    echo "$r $((r + third)) $((r + 7)) $((r + seventh))"
}

# Accompaniment of a list of chords "C3:M:8" (root, quality, steps):
# prints tokens for the harp, the bass and the pad, one voice per call.
accompany() {
    local part=$1 c root q steps r t f s i pattern
    shift
    local bar=0
    for c in "$@"; do
        IFS=: read -r root q steps <<<"$c"
        read -r r t f s <<<"$(chord "$root" "$q")"
        case $part in
        harp)
            pattern=($r $f $((r + 12)) $((t + 12)) $((f + 12)) $((t + 12)) $((r + 12)) $f)
            for ((i = 0; i < steps; i++)); do echo "n${pattern[$i]}:1"; done
            ;;
        bass)
            pattern=($((r - 12)) $((f - 12)) $r $((f - 12)))
            for ((i = 0; i < steps / 2; i++)); do echo "n${pattern[$i]}:2"; done
            ;;
        pad)
            echo "$((r + 12)),$((t + 12)),$((f + 12)):$steps"
            ;;
        shaker)
            for ((i = 0; i < steps / 2; i++)); do echo "R:1 shaker:1"; done
            ;;
        snare)
            for ((i = 0; i < steps / 4; i++)); do echo "R:2 snare:2"; done
            ;;
        esac
        bar=$((bar + steps))
        if [ $bar -ge $BAR ]; then
            echo "|"
            bar=0
        fi
    done
}

# pan IN OUT LEFT RIGHT: a mono voice into stereo at those gains.
pan() { $SOX "$1" -c 2 "$2" remix 1v"$3" 1v"$4"; }
# widen IN OUT GAIN: a mono voice into stereo with the right side 17 ms
# late, so it sounds wide without moving.
widen() {
    $SOX "$1" "$WORK/widen_r.wav" pad 0.017 0 vol "$3"
    $SOX "$1" "$WORK/widen_l.wav" pad 0 0.017 vol "$3"
    $SOX -M "$WORK/widen_l.wav" "$WORK/widen_r.wav" "$2"
}

# "Elation": the town's tune. C major at 120 beats a minute, 32 bars of
# eighth notes (64 s): a music-box melody over harp arpeggios, a plucked
# bass and a soft pad; the second time round a harp doubles the tune an
# octave down and a shaker keeps the off-beats.
make_elation() {
    UNIT=11025 # an eighth note at 120 bpm
    BAR=8
    local A_CHORDS=(C3:M:8 A3:m:8 F3:M:8 G3:M:8 C3:M:8 A3:m:8 D3:m:4 G3:M:4 C3:M:8)
    local B_CHORDS=(F3:M:8 G3:M:8 E3:m:8 A3:m:8 F3:M:8 G3:M:8 C3:M:8 G3:M:8)
    local CHORDS=("${A_CHORDS[@]}" "${A_CHORDS[@]}" "${B_CHORDS[@]}" "${A_CHORDS[@]}")
    local A_TUNE="G4:1 C5:1 E5:2 G5:2 E5:2 | A5:3 G5:1 E5:2 C5:2 | F5:2 A5:2 G5:2 F5:2 |
        E5:2 D5:2 G4:4 | G4:1 C5:1 E5:2 G5:2 C6:2 | B5:2 A5:2 E5:2 A5:2 |
        F5:2 A5:1 F5:1 D5:2 B4:2 |"
    local B_TUNE="A5:3 G5:1 F5:2 C5:2 | B5:3 A5:1 G5:2 D5:2 | G5:2 E5:2 B4:2 E5:2 |
        C6:3 B5:1 A5:4 | A5:2 C6:2 A5:2 F5:2 | G5:2 B5:2 D6:2 B5:2 |
        C6:2 G5:2 E5:2 G5:2 | D5:2 E5:2 F5:2 D5:2 |"
    # shellcheck disable=SC2206
    local LATER=($A_TUNE C5:4 E5:2 G5:2 "|" $B_TUNE $A_TUNE C5:6 R:2 "|")
    local TUNE=($A_TUNE C5:6 R:2 "|" "${LATER[@]}")
    local REST8=()
    for ((i = 0; i < 8; i++)); do REST8+=(R:8 "|"); done

    voice bell "$WORK/el_tune.wav" "${TUNE[@]}"
    # shellcheck disable=SC2046
    voice pluck "$WORK/el_double.wav" "${REST8[@]}" $(transpose -12 "${LATER[@]}")
    # shellcheck disable=SC2046
    voice pluck "$WORK/el_harp.wav" $(accompany harp "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice bass "$WORK/el_bass.wav" $(accompany bass "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice pad "$WORK/el_pad.wav" $(accompany pad "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice perc "$WORK/el_shaker.wav" "${REST8[@]}" $(accompany shaker "${CHORDS[@]:9}")

    pan "$WORK/el_tune.wav" "$WORK/el_tune2.wav" 0.75 0.9
    pan "$WORK/el_double.wav" "$WORK/el_double2.wav" 0.45 0.3
    pan "$WORK/el_harp.wav" "$WORK/el_harp2.wav" 0.55 0.35
    pan "$WORK/el_bass.wav" "$WORK/el_bass2.wav" 0.7 0.7
    widen "$WORK/el_pad.wav" "$WORK/el_pad2.wav" 0.35
    pan "$WORK/el_shaker.wav" "$WORK/el_shaker2.wav" 0.1 0.2
    $SOX -m -v 1 "$WORK/el_tune2.wav" -v 1 "$WORK/el_double2.wav" -v 1 "$WORK/el_harp2.wav" \
        -v 1 "$WORK/el_bass2.wav" -v 1 "$WORK/el_pad2.wav" -v 1 "$WORK/el_shaker2.wav" \
        "$WORK/el_mix.wav" pad 0 3 reverb 30 50 70 100 8 0
    wrap "$WORK/el_mix.wav" "$WORK/el_loop.wav" 64
    level "$WORK/el_loop.wav" "$WORK/Elation.wav" -20
    $SOX "$WORK/Elation.wav" -C 4 "$OUT/Elation.ogg"
    bank Elation true 0.8 music
}

# "Race": the time-up loop at the end of a race: four bright bars of a
# fanfare over a driving bass, shaker and backbeat (8 s).
make_race() {
    UNIT=11025
    BAR=8
    local CHORDS=(C3:M:8 F3:M:8 G3:M:8 C3:M:8)
    local TUNE=(C5:1 E5:1 G5:1 C6:3 G5:2 "|" A5:1 G5:1 F5:1 A5:3 C6:2 "|"
        B5:1 A5:1 G5:1 D6:3 B5:2 "|" C6:4 G5:2 E5:2 "|")
    voice bell "$WORK/ra_tune.wav" "${TUNE[@]}"
    # shellcheck disable=SC2046
    voice pluck "$WORK/ra_harp.wav" $(accompany harp "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice bass "$WORK/ra_bass.wav" $(accompany bass "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice perc "$WORK/ra_shaker.wav" $(accompany shaker "${CHORDS[@]}")
    # shellcheck disable=SC2046
    voice perc "$WORK/ra_snare.wav" $(accompany snare "${CHORDS[@]}")
    pan "$WORK/ra_tune.wav" "$WORK/ra_tune2.wav" 0.85 0.85
    pan "$WORK/ra_harp.wav" "$WORK/ra_harp2.wav" 0.3 0.5
    pan "$WORK/ra_bass.wav" "$WORK/ra_bass2.wav" 0.7 0.7
    pan "$WORK/ra_shaker.wav" "$WORK/ra_shaker2.wav" 0.2 0.12
    pan "$WORK/ra_snare.wav" "$WORK/ra_snare2.wav" 0.25 0.25
    $SOX -m -v 1 "$WORK/ra_tune2.wav" -v 1 "$WORK/ra_harp2.wav" -v 1 "$WORK/ra_bass2.wav" \
        -v 1 "$WORK/ra_shaker2.wav" -v 1 "$WORK/ra_snare2.wav" "$WORK/ra_mix.wav" \
        pad 0 2 reverb 20 50 50 100 5 0
    wrap "$WORK/ra_mix.wav" "$WORK/ra_loop.wav" 8
    level "$WORK/ra_loop.wav" "$WORK/Race.wav" -19
    $SOX "$WORK/Race.wav" -C 4 "$OUT/Race.ogg"
    bank Race true 0.8 music
}

# "Bebop1": the logo and level-end jingle: swung jazz in F at 150 beats a
# minute (steps are eighth-note triplets, 12 a bar): walking bass, ride
# cymbal, piano comping; a vibraphone line joins the second eight bars.
make_bebop() {
    UNIT=5880 # a triplet eighth at 150 bpm
    BAR=12
    local BASS=(G2:3 A2:3 Bb2:3 B2:3 "|" C3:3 Bb2:3 A2:3 G2:3 "|" F2:3 A2:3 C3:3 E3:3 "|"
        D3:3 C3:3 A2:3 F#2:3 "|" G2:3 Bb2:3 D3:3 B2:3 "|" C3:3 E3:3 G3:3 C#3:3 "|"
        D3:3 C3:3 A2:3 F2:3 "|" F2:3 A2:3 C3:3 F#2:3 "|")
    local COMP_CHORDS=(G3:m7 C3:7 F3:M7 D3:7 G3:m7 C3:7 F3:M7 F3:M7)
    local COMP=() c r t f s
    for c in "${COMP_CHORDS[@]}" "${COMP_CHORDS[@]}"; do
        read -r r t f s <<<"$(chord "${c%%:*}" "${c##*:}")"
        COMP+=(R:5 "$t,$f,$s,$((r + 12)):3" R:1 "$t,$f,$s,$((r + 12)):3" "|")
    done
    local RIDE=()
    for ((i = 0; i < 16; i++)); do RIDE+=(ride:3 ride:2 tap:1 ride:3 ride:2 tap:1 "|"); done
    local VIBES=(D5:2 C5:1 Bb4:2 A4:1 G4:3 Bb4:3 "|" E5:2 D5:1 C5:2 Bb4:1 A4:3 G4:3 "|"
        A4:2 C5:1 F5:3 E5:2 C5:1 A4:3 "|" F#5:3 D5:2 C5:1 A4:3 F#4:3 "|"
        G4:2 Bb4:1 D5:2 F5:1 A5:3 G5:3 "|" E5:2 G5:1 Bb5:2 G5:1 E5:3 C5:3 "|"
        F5:6 C5:3 A4:3 "|" F5:9 R:3 "|")
    local REST8=()
    for ((i = 0; i < 8; i++)); do REST8+=(R:12 "|"); done
    voice bass "$WORK/bb_bass.wav" "${BASS[@]}" "${BASS[@]}"
    voice comp "$WORK/bb_comp.wav" "${COMP[@]}"
    voice perc "$WORK/bb_ride.wav" "${RIDE[@]}"
    voice vibe "$WORK/bb_vibes.wav" "${REST8[@]}" "${VIBES[@]}"
    pan "$WORK/bb_bass.wav" "$WORK/bb_bass2.wav" 0.8 0.7
    pan "$WORK/bb_comp.wav" "$WORK/bb_comp2.wav" 0.35 0.55
    pan "$WORK/bb_ride.wav" "$WORK/bb_ride2.wav" 0.3 0.18
    pan "$WORK/bb_vibes.wav" "$WORK/bb_vibes2.wav" 0.75 0.6
    $SOX -m -v 1 "$WORK/bb_bass2.wav" -v 1 "$WORK/bb_comp2.wav" -v 1 "$WORK/bb_ride2.wav" \
        -v 1 "$WORK/bb_vibes2.wav" "$WORK/bb_mix.wav" pad 0 2 reverb 25 50 60 100 6 0
    wrap "$WORK/bb_mix.wav" "$WORK/bb_loop.wav" 25.6
    level "$WORK/bb_loop.wav" "$WORK/Bebop1.wav" -20
    $SOX "$WORK/Bebop1.wav" -C 4 "$OUT/Bebop1.ogg"
    bank Bebop1 true 0.8 music
}

# ------------------------------------------------------ ambience and loops

# noise KIND SECONDS OFFSET OUT: a stretch of noise starting OFFSET seconds
# into sox's repeatable sequence, so variants get their own texture.
noise() {
    gen "$WORK/noise_src.wav" synth "$(awk -v a="$2" -v b="$3" 'BEGIN{print a + b}')" "$1"
    $SOX "$WORK/noise_src.wav" "$4" trim "$3"
}

# "AmbientWindLoop": a windy day in town. Two unrelated stretches of noise,
# one per ear, shaped into a low moan with slow gusts and a faint whistle;
# 24 s, cross-faded into a loop.
make_wind() {
    local side offset
    for side in l r; do
        [ $side = l ] && offset=0 || offset=40
        noise pinknoise 27 $offset "$WORK/wind_$side.wav"
        $SOX "$WORK/wind_$side.wav" "$WORK/wind_moan_$side.wav" bandpass 420 1.4o \
            tremolo 0.13 45 tremolo 0.31 30
        $SOX "$WORK/wind_$side.wav" "$WORK/wind_whistle_$side.wav" bandpass 980 0.15o \
            tremolo 0.11 80 vol 0.6
        $SOX -m -v 1 "$WORK/wind_moan_$side.wav" -v 1 "$WORK/wind_whistle_$side.wav" \
            "$WORK/wind_mix_$side.wav" lowpass 2500
    done
    # Opposite gust phases in the two ears: the wind seems to move.
    $SOX "$WORK/wind_mix_r.wav" "$WORK/wind_mix_r2.wav" reverse
    $SOX -M "$WORK/wind_mix_l.wav" "$WORK/wind_mix_r2.wav" "$WORK/wind_st.wav"
    crossloop "$WORK/wind_st.wav" "$WORK/wind_loop.wav" 24 2.5
    level "$WORK/wind_loop.wav" "$WORK/AmbientWindLoop.wav" -24
    $SOX "$WORK/AmbientWindLoop.wav" -C 3 "$OUT/AmbientWindLoop.ogg"
    bank AmbientWindLoop true 0.8
}

# A mono loop of noise: loopfx NAME SECONDS OFFSET KIND EFFECT...
loopfx() {
    local name=$1 seconds=$2 offset=$3 kind=$4
    shift 4
    noise "$kind" "$(awk -v s="$seconds" 'BEGIN{print s + 1}')" "$offset" "$WORK/${name}_src.wav"
    $SOX "$WORK/${name}_src.wav" "$WORK/${name}_fx.wav" "$@"
    crossloop "$WORK/${name}_fx.wav" "$WORK/$name.wav" "$seconds" 0.5
}

make_flight_loops() {
    # The air rushing past the wings: a broad hiss that swells slowly.
    loopfx FlyLoop 4 3 pinknoise bandpass 900 2o tremolo 0.5 35 lowpass 4000
    finish_effect FlyLoop 0.45 true
    # The jet pack: rumbly roaring noise; the three differ in body,
    # brightness and flutter.
    loopfx FlyThrustLoop1 3 11 brownnoise lowpass 1200 equalizer 180 1q +6 tremolo 19 25
    finish_effect FlyThrustLoop1 0.35 true
    loopfx FlyThrustLoop2 3 17 brownnoise lowpass 850 equalizer 120 1q +8 tremolo 14 35
    finish_effect FlyThrustLoop2 0.35 true
    loopfx FlyThrustLoop3 3 23 pinknoise lowpass 1500 equalizer 240 1q +5 tremolo 23 20 \
        highpass 60
    finish_effect FlyThrustLoop3 0.4 true
    # Under it all, a deep throb.
    loopfx FlyThrustRumbleLoop 3 29 brownnoise lowpass 180 tremolo 8 40 gain -n
    finish_effect FlyThrustRumbleLoop 0.45 true
}

# ---------------------------------------------------------------- effects

# step OUT THUMP_HZ SCUFF_HZ SCUFF_DELAY LENGTH OFFSET SCUFF_LEVEL: a soft
# foot: a low thump falling in pitch, then the brush of a sole.
step() {
    local out=$1 hz=$2 scuff=$3 delay=$4 len=$5 offset=$6 level=$7
    gen "$WORK/st_thump.wav" synth "$len" sine "$hz-$((hz / 2))" $(decay l 0.002 "$len")
    noise pinknoise "$len" "$offset" "$WORK/st_noise.wav"
    $SOX "$WORK/st_noise.wav" "$WORK/st_scuff.wav" bandpass "$scuff" 1.3o \
        $(decay p 0.004 "$len") pad "$delay" 0 vol "$level"
    $SOX -m -v 1 "$WORK/st_thump.wav" -v 1 "$WORK/st_scuff.wav" "$out" lowpass 5000 fade t 0 0 0.01
}

make_steps() {
    # Walking: soft and round. THUMP SCUFF DELAY LENGTH OFFSET LEVEL
    local walk=("140 1500 0.010 0.10 1 0.9" "120 1800 0.006 0.12 2 0.8" "160 1300 0.014 0.09 3 1.0"
        "110 2100 0.008 0.11 4 0.7" "150 1700 0.012 0.10 5 0.85" "130 1200 0.004 0.13 6 0.95")
    local run=("180 2600 0.003 0.07 7 1.4" "170 3000 0.002 0.08 8 1.3" "200 2300 0.004 0.07 9 1.5"
        "160 2800 0.001 0.06 10 1.2" "190 3300 0.003 0.07 11 1.4" "175 2500 0.002 0.08 12 1.6")
    local i
    for i in 1 2 3 4 5 6; do
        # shellcheck disable=SC2086
        step "$WORK/WalkStep$i.wav" ${walk[$((i - 1))]}
        finish_effect "WalkStep$i" 0.45
        # shellcheck disable=SC2086
        step "$WORK/RunStep$i.wav" ${run[$((i - 1))]}
        finish_effect "RunStep$i" 0.5
    done
}

# Landing: a heavier thump with a puff of dust. HZ BODY_HZ LENGTH OFFSET
make_lands() {
    local params=("100 500 0.22 13" "85 420 0.26 14" "115 600 0.20 15" "95 380 0.28 16"
        "75 520 0.24 17")
    local i hz body len offset
    for i in 1 2 3 4 5; do
        read -r hz body len offset <<<"${params[$((i - 1))]}"
        gen "$WORK/ld_thump.wav" synth "$len" sine "$hz-$((hz * 2 / 5))" $(decay l 0.002 "$len")
        noise brownnoise "$len" "$offset" "$WORK/ld_noise.wav"
        $SOX "$WORK/ld_noise.wav" "$WORK/ld_body.wav" lowpass "$body" gain -n -2 \
            $(decay l 0.003 "$len")
        noise pinknoise "$len" "$((offset + 20))" "$WORK/ld_noise2.wav"
        $SOX "$WORK/ld_noise2.wav" "$WORK/ld_dust.wav" bandpass 2200 1.5o \
            $(decay p 0.01 "$len") pad 0.015 0 vol 0.25
        $SOX -m -v 1 "$WORK/ld_thump.wav" -v 0.8 "$WORK/ld_body.wav" -v 1 "$WORK/ld_dust.wav" \
            "$WORK/Land$i.wav" fade t 0 0 0.02
        finish_effect "Land$i" 0.55
    done
}

# Jumping: a quick upward swish. CENTRE BEND LENGTH OFFSET
make_jumps() {
    local params=("900 700 0.20 21" "1100 900 0.17 22" "750 600 0.23 23" "1300 800 0.18 24")
    local i centre bend len offset
    for i in 1 2 3 4; do
        read -r centre bend len offset <<<"${params[$((i - 1))]}"
        noise pinknoise "$len" "$offset" "$WORK/jp_noise.wav"
        $SOX "$WORK/jp_noise.wav" "$WORK/Jump$i.wav" bandpass "$centre" 1.0o \
            bend 0,"$bend","$len" fade h "$(awk -v l="$len" 'BEGIN{print l * 0.35}')" "$len" \
            "$(awk -v l="$len" 'BEGIN{print l * 0.6}')"
        finish_effect "Jump$i" 0.5
    done
}

# Cheering townsfolk: an airy breath of "aah" from many throats with a few
# rising "whoo" voices. VOICES (start:end Hz) LENGTH OFFSET FLUTTER
make_cheers() {
    local params=("330:520 420:610 510:760 1.3 31 7" "280:450 390:640 600:820 1.5 32 9"
        "360:580 450:520 540:900 1.2 33 6" "300:480 470:700 560:640 1.6 34 8")
    local i v1 v2 v3 len offset flutter
    for i in 1 2 3 4; do
        read -r v1 v2 v3 len offset flutter <<<"${params[$((i - 1))]}"
        noise pinknoise "$len" "$offset" "$WORK/ch_noise.wav"
        $SOX "$WORK/ch_noise.wav" "$WORK/ch_air.wav" highpass 700 equalizer 1100 1q +6 \
            equalizer 2800 1q +4 tremolo "$flutter" 40 fade h 0.12 "$len" 0.7
        gen "$WORK/ch_voices.wav" synth "$len" sawtooth "$v1" sawtooth "$v2" triangle "$v3" \
            remix 1v0.3,2v0.3,3v0.4 lowpass 2200 equalizer 800 1q +6 \
            chorus 0.6 0.9 50 0.4 0.25 2 -t 35 0.35 0.5 1.3 -s \
            tremolo "$((flutter - 2))" 20 fade h 0.2 "$len" 0.8
        $SOX -m -v 1 "$WORK/ch_air.wav" -v 0.35 "$WORK/ch_voices.wav" "$WORK/Cheer$i.wav" \
            reverb 40 40 60
        finish_effect "Cheer$i" 0.7
    done
}

# Pigeons taking off: a flurry of wing claps, each a puff of low noise.
# FLAPS FIRST_GAP GAP_CHANGE CENTRE OFFSET
make_pigeons() {
    local params=("7 0.085 -0.004 650 41" "9 0.070 -0.002 800 42" "6 0.095 -0.006 560 43"
        "8 0.075 0.002 720 44")
    local i k flaps gap change centre offset files level
    for i in 1 2 3 4; do
        read -r flaps gap change centre offset <<<"${params[$((i - 1))]}"
        files=()
        for ((k = 0; k < flaps; k++)); do
            level=$(awk -v k=$k -v n=$flaps 'BEGIN{print 1 - 0.6 * k / n + 0.15 * ((k * 7) % 3 - 1)}')
            noise brownnoise 0.05 "$(awk -v o="$offset" -v k=$k 'BEGIN{print o + k * 0.07}')" "$WORK/pg_n.wav"
            $SOX "$WORK/pg_n.wav" "$WORK/pg_flap$k.wav" bandpass "$((centre + (k % 3) * 60))" 1.2o \
                gain -n fade p 0.004 0.05 0.042 vol "$level" \
                pad 0 "$(awk -v g="$gap" -v c="$change" -v k=$k 'BEGIN{print g + c * k}')"
            files+=("$WORK/pg_flap$k.wav")
        done
        $SOX "${files[@]}" "$WORK/Pigeons$i.wav" pad 0 0.3 reverb 30 50 40
        finish_effect "Pigeons$i" 0.6
    done
}

make_click() {
    # A small wooden tick for a button under the pointer.
    gen "$WORK/ck_tone.wav" synth 0.035 sine 2200-1200 fade l 0.001 0.035 0.033
    noise whitenoise 0.012 50 "$WORK/ck_n.wav"
    $SOX "$WORK/ck_n.wav" "$WORK/ck_tick.wav" highpass 3000 fade l 0 0.012 0.011 vol 0.4
    $SOX -m -v 1 "$WORK/ck_tone.wav" -v 1 "$WORK/ck_tick.wav" "$WORK/ButtonClick.wav"
    finish_effect ButtonClick 0.5
}

make_wings() {
    # The wings of the flight unit unfolding: a swish and a latch.
    local i centre bend click
    for i in 1 2; do
        [ $i = 1 ] && { centre=1400; bend=500; click=3200; } || { centre=900; bend=-300; click=2100; }
        noise pinknoise 0.25 $((60 + i)) "$WORK/wg_n.wav"
        $SOX "$WORK/wg_n.wav" "$WORK/wg_swish.wav" bandpass $centre 1o bend 0,$bend,0.25 \
            fade h 0.08 0.25 0.15
        gen "$WORK/wg_latch.wav" synth 0.05 square $click sine $((click / 3)) remix 1v0.3,2v0.7 \
            fade l 0.001 0.05 0.048 pad 0.2 0
        $SOX -m -v 1 "$WORK/wg_swish.wav" -v 0.6 "$WORK/wg_latch.wav" "$WORK/WingOpen$i.wav"
        finish_effect "WingOpen$i" 0.6
    done
}

make_launch() {
    # The jet pack firing: a deep boom, a blast of air and a hissing tail.
    gen "$WORK/la_boom.wav" synth 0.45 sine 90-35 fade l 0.002 0.45 0.44
    noise brownnoise 0.9 70 "$WORK/la_n.wav"
    $SOX "$WORK/la_n.wav" "$WORK/la_blast.wav" lowpass 1600 gain -n fade l 0.004 0.9 0.85
    noise pinknoise 0.7 72 "$WORK/la_n2.wav"
    $SOX "$WORK/la_n2.wav" "$WORK/la_hiss.wav" highpass 2500 fade h 0.05 0.7 0.6 vol 0.3 pad 0.05 0
    $SOX -m -v 1 "$WORK/la_boom.wav" -v 0.8 "$WORK/la_blast.wav" -v 1 "$WORK/la_hiss.wav" \
        "$WORK/FlurrLaunchExplosion.wav"
    finish_effect FlurrLaunchExplosion 0.7
}

make_fireworks() {
    # The balloon's grand opening: a soft boom, then glittering bells
    # rising in C major and falling sparkle.
    gen "$WORK/fw_boom.wav" synth 1.2 sine 70-30 fade l 0.003 1.2 1.18
    noise brownnoise 1.5 80 "$WORK/fw_n.wav"
    $SOX "$WORK/fw_n.wav" "$WORK/fw_body.wav" lowpass 900 gain -n fade l 0.005 1.5 1.45
    UNIT=4410
    BAR=0
    voice bell "$WORK/fw_bells.wav" R:2 C6:1 E6:1 G6:1 C7:1 E7:3 G7:2 C7:2 E7:2 G7:12
    noise whitenoise 2.2 82 "$WORK/fw_n2.wav"
    $SOX "$WORK/fw_n2.wav" "$WORK/fw_sparkle.wav" highpass 5000 tremolo 31 90 tremolo 13 80 \
        fade l 0.3 2.2 1.8 vol 0.25 pad 0.4 0
    $SOX -m -v 1 "$WORK/fw_boom.wav" -v 0.7 "$WORK/fw_body.wav" -v 0.8 "$WORK/fw_bells.wav" \
        -v 1 "$WORK/fw_sparkle.wav" "$WORK/BeautifulExplosion.wav" reverb 50 50 80
    finish_effect BeautifulExplosion 0.8
}

make_meows() {
    # The hidden cat: a nasal voice rising and falling, shaped by two
    # vowel resonances. RISE_FROM:PEAK FALL_TO LENGTH_RISE LENGTH_FALL
    local params=("480:760 520 0.22 0.35" "560:880 600 0.18 0.30" "420:680 430 0.26 0.42")
    local i glide fall rise drop peak
    for i in 1 2 3; do
        read -r glide fall rise drop <<<"${params[$((i - 1))]}"
        peak=${glide#*:}
        gen "$WORK/mw_up.wav" synth "$rise" sawtooth "${glide/:/-}" fade h 0.05
        gen "$WORK/mw_down.wav" synth "$drop" sawtooth "$peak-$fall" fade h 0 "$drop" "$drop"
        $SOX "$WORK/mw_up.wav" "$WORK/mw_down.wav" "$WORK/Meow$i.wav" lowpass 3500 \
            equalizer 900 1.2q +9 equalizer 2400 1.5q +6 tremolo 6 15
        finish_effect "Meow$i" 0.5
    done
}

make_job_complete() {
    # A job done: a quick rising chime (for jobs' "CompletionSound").
    UNIT=4410
    BAR=0
    voice bell "$WORK/JobComplete_raw.wav" G5:1 C6:1 E6:1 G6:2 C7:10
    $SOX "$WORK/JobComplete_raw.wav" "$WORK/JobComplete.wav" reverb 40 50 60
    finish_effect JobComplete 0.7
}

# ------------------------------------------------------------------- main

make_elation
make_race
make_bebop
make_wind
make_flight_loops
make_steps
make_lands
make_jumps
make_cheers
make_pigeons
make_click
make_wings
make_launch
make_fireworks
make_meows
make_job_complete

{
    echo "Root"
    printf '%s' "$BANK_TEXT"
    echo "-Root"
} >"$BANK"

echo "Made $(ls "$OUT"/*.ogg | wc -l) sounds ($(du -ch "$OUT"/*.ogg | tail -1 | cut -f1)) and $BANK"
