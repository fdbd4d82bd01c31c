// Writes the program's chimes and icon pictures into a build folder:
//   make-assets OUTPUT-FOLDER ICON-SIZE...
// gives OUTPUT-FOLDER/sounds/{online,message}.wav and
// OUTPUT-FOLDER/icons/hicolor/<n>x<n>/apps/tesk.png for each size;
//   make-assets --pictures FILE.cpp
// writes the source that compiles every picture of ui/ImageList.h in as pixels.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>

#include "Chimes.h"
#include "PicturePainter.h"
#include "ui/ImageList.h"

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    const bool ok = !bytes.isEmpty() && file.open(QIODevice::WriteOnly) &&
                    file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        std::fprintf(stderr, "make-assets: cannot write %s\n", qPrintable(path));
    }
    return ok;
}

// The program's window and tray icon as PNG bytes; empty if encoding fails.
QByteArray iconPng(int size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!makeassets::paintPicture(tesk::images::kUserBadge, size).save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}

// Appends the picture's pixels as an array, and its row of the table of pictures.
void appendPicture(QByteArray& source, QByteArray& table, int index, int size) {
    const QImage image = makeassets::paintPicture(index, size);
    const QByteArray name = "picture" + QByteArray::number(index) + "At" + QByteArray::number(size);
    source += "alignas(16) const std::uint32_t " + name + "[] = {";
    for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            source += (x % 8 == 0 ? "\n    0x" : " 0x");
            source += QByteArray::number(row[x], 16).rightJustified(8, '0') + ',';
        }
    }
    source += "\n};\n";
    table += "    {" + QByteArray::number(index) + ", " + QByteArray::number(size) + ", " + name +
             "},\n";
}

// Every picture at kPictureSizes, and the program's icon at its further sizes.
QByteArray picturesSource() {
    using namespace tesk::images;
    QByteArray source =
        "// Written by make-assets: the pictures of ui/ImageList.h as premultiplied ARGB.\n"
        "#include <iterator>\n\n"
        "#include \"ui/PaintedPictures.h\"\n\n"
        "namespace tesk::images {\nnamespace {\n\n";
    QByteArray table;
    for (int index = 0; index < kCount; ++index) {
        for (int size : kPictureSizes) {
            appendPicture(source, table, index, size);
        }
    }
    for (int size : kApplicationIconSizes) {
        if (std::find(std::begin(kPictureSizes), std::end(kPictureSizes), size) ==
            std::end(kPictureSizes)) {
            appendPicture(source, table, kUserBadge, size);
        }
    }
    source += "\n}  // namespace\n\nconst PaintedPicture kPaintedPictures[] = {\n" + table +
              "};\nconst std::size_t kPaintedPictureCount = std::size(kPaintedPictures);\n\n"
              "}  // namespace tesk::images\n";
    return source;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // painting needs it
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--pictures")) {
        return writeFile(args.at(2), picturesSource()) ? 0 : 1;
    }
    if (args.size() < 3) {
        std::fprintf(stderr,
                     "usage: make-assets OUTPUT-FOLDER ICON-SIZE...\n"
                     "       make-assets --pictures FILE.cpp\n");
        return 2;
    }
    const QDir out(args.at(1));
    bool ok = writeFile(out.filePath("sounds/online.wav"), makeassets::onlineChime());
    ok = writeFile(out.filePath("sounds/message.wav"), makeassets::messageChime()) && ok;
    for (const QString& arg : args.mid(2)) {
        const int size = arg.toInt();
        if (size < 1) {
            std::fprintf(stderr, "make-assets: bad icon size %s\n", qPrintable(arg));
            return 2;
        }
        const QString path = QStringLiteral("icons/hicolor/%1x%1/apps/tesk.png").arg(size);
        ok = writeFile(out.filePath(path), iconPng(size)) && ok;
    }
    return ok ? 0 : 1;
}
