#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

#include "InstalledTree.h"

namespace {

struct ToolRun {
    bool ok = false;
    QString output;
};

ToolRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(100000);
    const QString output = QString::fromLocal8Bit(process.readAll());
    if (!finished || process.exitStatus() != QProcess::NormalExit) {
        return {false, output + process.errorString()};
    }
    return {process.exitCode() == 0, output};
}

// One line per name, so that a failure shows which names differ.
std::string lines(QStringList names) {
    names.sort();
    return names.join('\n').toStdString();
}

// The package names in a Depends field ("libc6 (>= 2.34), libfoo1 | libbar1").
QStringList packageNames(const QString& field) {
    QStringList names;
    for (const QString& alternatives : field.split(',')) {
        for (const QString& alternative : alternatives.split('|')) {
            names << alternative.trimmed().section(' ', 0, 0);
        }
    }
    return names;
}

}  // namespace

// The package of this very build tree, made as scripts/package.sh makes it.
TEST(DebianPackage, HoldsTheInstalledFilesAndDependsOnTheLibrariesTheProgramLinks) {
    if (TESK_SANITIZED) {
        GTEST_SKIP() << "a sanitizer build is not packaged: its program needs the sanitizer "
                        "runtimes, which no package's Depends would name";
    }
    const QString dpkgDeb = QStandardPaths::findExecutable("dpkg-deb");
    const QString shlibdeps = QStandardPaths::findExecutable("dpkg-shlibdeps");
    if (dpkgDeb.isEmpty() || shlibdeps.isEmpty()) {
        GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps is not installed (Debian packages dpkg "
                        "and dpkg-dev); no package was made";
    }
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const ToolRun cpack = run(QStringLiteral(TESK_CPACK_COMMAND),
                              {"-G", "DEB", "-B", out.path(), "--config",
                               QStringLiteral(TESK_BUILD_DIR "/CPackConfig.cmake")});
    ASSERT_TRUE(cpack.ok) << cpack.output.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"tesk_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack.output.toStdString();
    const QString deb = QDir(out.path()).filePath(debs.first());

    QMap<QString, std::string> fields;
    for (const char* name :
         {"Package", "Version", "Section", "Maintainer", "Depends", "Recommends", "Description"}) {
        const ToolRun field = run(dpkgDeb, {"--field", deb, name});
        ASSERT_TRUE(field.ok) << field.output.toStdString();
        fields.insert(name, field.output.trimmed().toStdString());
    }
    EXPECT_EQ(fields["Package"], "tesk");
    EXPECT_EQ(fields["Version"], TESK_VERSION_TEXT);
    EXPECT_EQ(debs.first().section('_', 1, 1).toStdString(), TESK_VERSION_TEXT);
    EXPECT_EQ(fields["Section"], "net");
    EXPECT_EQ(fields["Maintainer"], "TESK developers <tesk@example.org>");
    EXPECT_EQ(fields["Recommends"], "libcanberra-pulse");
    EXPECT_NE(fields["Description"].find('\n'), std::string::npos) << "no long description";
    // Computed by dpkg-shlibdeps from the binary, so a library the program stops or starts
    // linking shows here.
    const QStringList depends = packageNames(QString::fromStdString(fields["Depends"]));
    for (const char* library : {"libc6", "libqt6core6", "libqt6widgets6", "libqt6dbus6",
                                "libqt6keychain1", "libcanberra0"}) {
        EXPECT_TRUE(depends.contains(library)) << library << " in " << fields["Depends"];
    }

    const ToolRun contents = run(dpkgDeb, {"--contents", deb});
    ASSERT_TRUE(contents.ok) << contents.output.toStdString();
    QStringList files;
    for (const QString& line : contents.output.split('\n', Qt::SkipEmptyParts)) {
        const QString path = line.section(' ', -1);
        if (!path.endsWith('/')) {
            files << path.mid(1);  // "./usr/bin/tesk"
        }
    }
    QStringList expected;
    for (const QString& file : tesk::test::packagedFiles()) {
        expected << "/usr/" + file;
    }
    // Nothing more either: no licence file beside copyright, nothing of the tests.
    EXPECT_EQ(lines(files), lines(expected));
}
