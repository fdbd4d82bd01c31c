#include "Chimes.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

namespace makeassets {
namespace {

// A bell note: a fundamental with softer upper partials that die away faster, which
// is what makes it sound struck rather than held.
struct Partial {
    double ratio;      // of the note's frequency
    double amplitude;  // relative to the fundamental
    double decay;      // per second
};

struct Strike {
    double at;  // seconds from the start
    double frequency;
};

constexpr double kAttack = 0.004;  // a ramp this long keeps the onset from clicking
constexpr double kFadeOut = 0.03;  // brings the tail to exact silence at the end
constexpr double kPeak = 0.5;      // of full scale: a notice, not an alarm

std::vector<double> ring(const std::vector<Strike>& strikes, const std::vector<Partial>& partials,
                         double seconds) {
    const int count = int(seconds * kSampleRate);
    std::vector<double> wave(count, 0.0);
    for (const Strike& strike : strikes) {
        for (int i = int(strike.at * kSampleRate); i < count; ++i) {
            const double t = double(i) / kSampleRate - strike.at;
            const double onset = std::min(1.0, t / kAttack);
            for (const Partial& p : partials) {
                wave[i] += onset * p.amplitude * std::exp(-p.decay * t) *
                           std::sin(2.0 * M_PI * strike.frequency * p.ratio * t);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        wave[i] *= std::min(1.0, double(count - 1 - i) / (kFadeOut * kSampleRate));
    }
    return wave;
}

void appendLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

// Scales the loudest sample to kPeak and wraps the samples in a RIFF/WAVE file.
QByteArray waveFile(const std::vector<double>& wave) {
    double loudest = 0.0;
    for (double sample : wave) {
        loudest = std::max(loudest, std::abs(sample));
    }
    const double gain = loudest > 0.0 ? kPeak * 32767.0 / loudest : 0.0;
    const quint32 dataBytes = quint32(wave.size() * 2);

    QByteArray out;
    out.append("RIFF");
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendLe32(out, 16);
    appendLe16(out, 1);  // PCM
    appendLe16(out, 1);  // mono
    appendLe32(out, kSampleRate);
    appendLe32(out, kSampleRate * 2);  // bytes per second
    appendLe16(out, 2);                // bytes per frame
    appendLe16(out, 16);               // bits per sample
    out.append("data");
    appendLe32(out, dataBytes);
    for (double sample : wave) {
        appendLe16(out, quint16(qint16(std::lround(sample * gain))));
    }
    return out;
}

}  // namespace

QByteArray onlineChime() {
    // E5 then B5, a rising fifth: someone arrived.
    const std::vector<Partial> bright = {{1.0, 1.0, 7.0}, {2.0, 0.35, 12.0}, {3.0, 0.12, 20.0}};
    return waveFile(ring({{0.0, 659.26}, {0.13, 987.77}}, bright, 0.42));
}

QByteArray messageChime() {
    // A5 with quiet overtones, so that it is softer than the online chime.
    const std::vector<Partial> soft = {{1.0, 1.0, 10.0}, {2.0, 0.2, 16.0}, {3.0, 0.06, 24.0}};
    return waveFile(ring({{0.0, 880.0}}, soft, 0.3));
}

}  // namespace makeassets
