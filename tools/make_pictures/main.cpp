// Draws the picture list and the program icon and writes them, with the
// resource collection file that compiles them in, into the resources folder:
//
//   make_pictures RESOURCES_DIR
//   make_pictures --contact-sheet docs/contact-sheet.png
//   make_pictures --small-sizes small.png
//
// Everything is drawn here from code, fonts from Debian and a seeded
// generator, so the output is the same on every run.

#include "tools/make_pictures/ContactSheet.h"
#include "tools/make_pictures/GlyphPictures.h"
#include "tools/make_pictures/Lettering.h"
#include "tools/make_pictures/PictureSet.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImageWriter>
#include <QTextStream>
#include <QVector>

#include <cstdio>

namespace {

void complain(const QString& message)
{
    std::fprintf(stderr, "make_pictures: %s\n", qUtf8Printable(message));
}

// Pictures of few colours (lettering, bridges, hero gates, owners) are
// stored with a palette: a quarter of the bytes to inflate at start-up, with
// every colour kept exactly.
QImage withPaletteIfExact(const QImage& image)
{
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> palette;
    QHash<QRgb, int> index;
    for (int y = 0; y < straight.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            if (index.contains(line[x]))
                continue;
            if (palette.size() == 256)
                return image;
            index.insert(line[x], int(palette.size()));
            palette.append(line[x]);
        }
    }
    QImage indexed(straight.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < straight.width(); ++x)
            out[x] = static_cast<uchar>(index.value(line[x]));
    }
    return indexed;
}

bool writePng(const QImage& picture, const QString& path)
{
    const QImage image = withPaletteIfExact(picture);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        complain(
            QStringLiteral("cannot create the folder of %1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    QImageWriter writer(path, "png");
    writer.setQuality(0); // smallest file; decoding time does not depend on it
    if (!writer.write(image)) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path), writer.errorString()));
        return false;
    }
    return true;
}

QString pictureName(int n)
{
    return QStringLiteral("pictures/%1.png").arg(n, 2, 10, QLatin1Char('0'));
}

const QString IconName = QStringLiteral("icon/delvard.png");

bool writeResourceCollection(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    QTextStream out(&file);
    out << "<!-- Written by tools/make_pictures; run it again rather than editing. -->\n"
        << "<RCC>\n  <qresource prefix=\"/\">\n";
    for (int n = 1; n <= pictures::Count; ++n)
        out << "    <file>" << pictureName(n) << "</file>\n";
    out << "    <file>" << IconName << "</file>\n  </qresource>\n</RCC>\n";
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fonts need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws the picture list and the program icon of Delvard."));
    parser.addHelpOption();
    const QCommandLineOption contactSheet(QStringLiteral("contact-sheet"),
                                          QStringLiteral("Write the contact sheet to <file>."),
                                          QStringLiteral("file"));
    const QCommandLineOption smallSizes(
        QStringLiteral("small-sizes"),
        QStringLiteral("Write the toolbar and 24 px sheet to <file>."), QStringLiteral("file"));
    parser.addOption(contactSheet);
    parser.addOption(smallSizes);
    parser.addPositionalArgument(
        QStringLiteral("resources"),
        QStringLiteral("Folder to receive pictures/NN.png, icon/delvard.png, the icon theme's "
                       "sizes of it and of the map file's icon in icon/hicolor, and "
                       "resources.qrc."));
    parser.process(app);
    if (parser.positionalArguments().isEmpty() && !parser.isSet(contactSheet) &&
        !parser.isSet(smallSizes))
        parser.showHelp(2);

    QString error;
    if (!lettering::loadFonts(&error)) {
        complain(error);
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    QVector<QImage> all(pictures::Count + 1);
    for (int n = 1; n <= pictures::Count; ++n)
        all[n] = pictures::draw(n);
    const QImage icon = glyphs::programIcon(32);
    std::printf("drew %d pictures and the icon in %lld ms\n", pictures::Count,
                static_cast<long long>(timer.elapsed()));

    for (const QString& folder : parser.positionalArguments()) {
        const QDir dir(folder);
        for (int n = 1; n <= pictures::Count; ++n) {
            if (!writePng(all[n], dir.filePath(pictureName(n))))
                return 1;
        }
        if (!writePng(icon, dir.filePath(IconName)) ||
            !writeResourceCollection(dir.filePath(QStringLiteral("resources.qrc"))))
            return 1;
        // The icon theme's sizes, drawn at each size rather than scaled, for
        // the desktop entry of an installed editor and for map files in a
        // file manager.
        for (const int side : {16, 32, 48, 64, 128, 256}) {
            if (!writePng(
                    glyphs::programIcon(side),
                    dir.filePath(QStringLiteral("icon/hicolor/%1x%1/apps/delvard.png").arg(side))))
                return 1;
            if (!writePng(glyphs::mapFileIcon(side),
                          dir.filePath(QStringLiteral("icon/hicolor/%1x%1/mimetypes/"
                                                      "application-x-delvard-map.png")
                                           .arg(side))))
                return 1;
        }
    }
    if (parser.isSet(contactSheet) &&
        !writePng(sheets::contactSheet(all), parser.value(contactSheet)))
        return 1;
    if (parser.isSet(smallSizes) &&
        !writePng(sheets::smallSizesSheet(all), parser.value(smallSizes)))
        return 1;
    return 0;
}
