#include "WaveReader.h"

#include <QtEndian>

namespace tesk::test {
namespace {

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

}  // namespace

Wave readWave(const QByteArray& bytes) {
    Wave wave;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        wave.error = QStringLiteral("no RIFF/WAVE header");
        return wave;
    }
    if (le32(bytes, 4) != quint32(bytes.size() - 8)) {
        wave.error = QStringLiteral("RIFF size does not match the file size");
        return wave;
    }
    bool haveFormat = false;
    for (qsizetype at = 12; at < bytes.size();) {
        if (bytes.size() - at < 8) {
            wave.error = QStringLiteral("truncated chunk header");
            return wave;
        }
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(bytes.size() - body)) {
            wave.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return wave;
        }
        if (id == "fmt " && size >= 16) {
            wave.format = le16(bytes, body);
            wave.channels = le16(bytes, body + 2);
            wave.sampleRate = int(le32(bytes, body + 4));
            wave.byteRate = int(le32(bytes, body + 8));
            wave.blockAlign = le16(bytes, body + 12);
            wave.bitsPerSample = le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                wave.error = QStringLiteral("data before fmt");
                return wave;
            }
            if (wave.bitsPerSample == 16) {
                for (quint32 i = 0; i + 1 < size; i += 2) {
                    wave.samples.push_back(qint16(le16(bytes, body + i)));
                }
            }
        }
        at = body + size + (size % 2);  // chunks are padded to even sizes
    }
    if (!haveFormat) {
        wave.error = QStringLiteral("no fmt chunk");
    }
    return wave;
}

}  // namespace tesk::test
