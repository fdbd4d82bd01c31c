#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>

#include "InstalledTree.h"
#include "WaveReader.h"

using tesk::test::installedPrefix;
using tesk::test::readWave;
using tesk::test::Wave;

namespace {

QByteArray readInstalled(const QString& relative) {
    QFile file(QDir(installedPrefix()).filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Root mean square of samples [from, to), as a fraction of full scale.
double loudness(const std::vector<qint16>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        sum += double(samples[i]) * samples[i];
    }
    return std::sqrt(sum / double(to - from)) / 32768.0;
}

void expectChime(const QString& name, double shortest, double longest) {
    SCOPED_TRACE(name.toStdString());
    const Wave wave = readWave(readInstalled("share/tesk/sounds/" + name));
    ASSERT_EQ(wave.error, QString());
    EXPECT_EQ(wave.format, 1);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.sampleRate, 22050);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.blockAlign, 2);
    EXPECT_EQ(wave.byteRate, 44100);

    const std::vector<qint16>& samples = wave.samples;
    const double seconds = double(samples.size()) / 22050;
    EXPECT_GE(seconds, shortest);
    EXPECT_LE(seconds, longest);
    ASSERT_GT(samples.size(), 2205u);

    // Clearly audible, yet with headroom: nothing near clipping.
    int peak = 0;
    for (qint16 sample : samples) {
        peak = std::max(peak, std::abs(int(sample)));
    }
    EXPECT_GE(peak / 32768.0, 0.3);
    EXPECT_LE(peak / 32768.0, 0.8);

    // No click where it starts or stops, and it dies away like a struck bell: the last
    // 50 ms are far quieter than its loudest 100 ms.
    EXPECT_LT(std::abs(int(samples.front())), 330);
    EXPECT_LT(std::abs(int(samples.back())), 330);
    const std::size_t tenth = 2205;
    double loudest = 0.0;
    for (std::size_t from = 0; from + tenth <= samples.size(); from += tenth / 2) {
        loudest = std::max(loudest, loudness(samples, from, from + tenth));
    }
    const double tail = loudness(samples, samples.size() - tenth / 2, samples.size());
    EXPECT_GT(loudest, 0.1);
    EXPECT_LT(tail, loudest / 4);
}

}  // namespace

TEST(InstalledChimes, ArePcmWavesOfAFractionOfASecond) {
    ASSERT_FALSE(installedPrefix().isEmpty());
    expectChime(QStringLiteral("online.wav"), 0.3, 0.6);
    expectChime(QStringLiteral("message.wav"), 0.2, 0.45);
    EXPECT_NE(readInstalled("share/tesk/sounds/online.wav"),
              readInstalled("share/tesk/sounds/message.wav"));
}
