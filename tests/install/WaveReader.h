#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace tesk::test {

// What a RIFF/WAVE file's "fmt " chunk says, with its 16-bit samples.
struct Wave {
    int format = 0;  // 1 for PCM
    int channels = 0;
    int sampleRate = 0;
    int byteRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    std::vector<qint16> samples;  // filled for 16-bit data only
    QString error;                // set when the file is not a well-formed wave file
};

// Walks the chunks, so a file whose sizes do not add up is caught too.
Wave readWave(const QByteArray& bytes);

}  // namespace tesk::test
