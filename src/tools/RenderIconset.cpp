// Draws an SVG image at every size of a macOS iconset, the folder iconutil
// turns into an .icns file:
//
//   plinth-render-iconset LOGO.svg OUT.iconset
//
// writes OUT.iconset/icon_16x16.png, icon_16x16@2x.png, ... icon_512x512@2x.png.
// A build tool of the macOS application bundle (cmake/MacAppBundle.cmake).

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: plinth-render-iconset LOGO.svg OUT.iconset\n", stderr);
        return 2;
    }
    QSvgRenderer logo(arguments.at(1));
    if (!logo.isValid()) {
        std::fprintf(stderr, "%s: not a readable SVG image\n", qPrintable(arguments.at(1)));
        return 1;
    }
    const QDir iconset(arguments.at(2));
    if (!QDir().mkpath(iconset.path())) {
        std::fprintf(stderr, "%s: cannot create the folder\n", qPrintable(iconset.path()));
        return 1;
    }
    for (const int points : {16, 32, 128, 256, 512}) {
        for (const int scale : {1, 2}) {
            const int pixels = points * scale;
            QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            logo.render(&painter, QRectF(0, 0, pixels, pixels));
            painter.end();
            const QString name = QStringLiteral("icon_%1x%1%2.png").arg(points).arg(scale == 2 ? QStringLiteral("@2x") : QString());
            if (!image.save(iconset.filePath(name), "PNG")) {
                std::fprintf(stderr, "%s: cannot write\n", qPrintable(iconset.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
