// Writes the program's chimes and icon pictures into a build folder:
//   make-assets OUTPUT-FOLDER ICON-SIZE...
// gives OUTPUT-FOLDER/sounds/{online,message}.wav and
// OUTPUT-FOLDER/icons/hicolor/<n>x<n>/apps/tesk.png for each size.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

#include "Chimes.h"
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
    if (!tesk::images::pixmap(tesk::images::kUserBadge, size).save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // painting pixmaps needs it
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: make-assets OUTPUT-FOLDER ICON-SIZE...\n");
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
