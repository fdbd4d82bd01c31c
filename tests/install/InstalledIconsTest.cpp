#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include "InstalledTree.h"

using tesk::test::installedPrefix;

TEST(InstalledIcons, PngsLoadAtTheirSizesAndShowAPicture) {
    const QString prefix = installedPrefix();
    ASSERT_FALSE(prefix.isEmpty());
    for (int size : {16, 32, 48, 64, 128}) {
        SCOPED_TRACE(size);
        const QImage image(QDir(prefix).filePath(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/tesk.png").arg(size)));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        ASSERT_TRUE(image.hasAlphaChannel());
        // A shape on a see-through background, not an empty or a filled square.
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                opaque += alpha == 255;
                clear += alpha == 0;
            }
        }
        EXPECT_GT(opaque, size * size / 4);
        EXPECT_GT(clear, size * size / 10);
    }
}

TEST(InstalledIcons, ScalableIconIsAnSvgDocument) {
    const QString prefix = installedPrefix();
    ASSERT_FALSE(prefix.isEmpty());
    QFile file(QDir(prefix).filePath("share/icons/hicolor/scalable/apps/tesk.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    EXPECT_EQ(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
    EXPECT_FALSE(xml.attributes().value("viewBox").isEmpty());
    int shapes = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            QStringList{"path", "circle", "ellipse"}.contains(xml.name().toString())) {
            ++shapes;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GE(shapes, 3);
}
