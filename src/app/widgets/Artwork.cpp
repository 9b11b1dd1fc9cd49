#include "app/widgets/Artwork.h"

#include "app/base/ResourceBundle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPalette>
#include <QStyleHints>
#include <QSvgRenderer>

namespace plinth {

namespace {

QString imagePath(const QString &folder, const QString &name)
{
    const ResourceBundle &bundle = ResourceBundle::main();
    for (const QString &type : {QStringLiteral("svg"), QStringLiteral("png")}) {
        QString found = bundle.path(name, type, folder);
        if (found.isEmpty())
            found = bundle.path(name, type);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QPixmap render(const QString &path, const QSize &size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return QPixmap(path).scaled(size * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&pixmap);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

struct ColorSet
{
    QHash<QString, std::pair<QColor, QColor>> colors; // light, dark

    ColorSet()
    {
        QFile file(ResourceBundle::main().path(QStringLiteral("Colors"), QStringLiteral("json"), QStringLiteral("colors")));
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = root.begin(); it != root.end(); ++it) {
            const QJsonObject variants = it.value().toObject();
            const QColor light(variants.value(QStringLiteral("light")).toString());
            QColor dark(variants.value(QStringLiteral("dark")).toString());
            colors.insert(it.key(), {light, dark.isValid() ? dark : light});
        }
    }
};

/// The family each registered font file has, by the file's name without its
/// suffix ("Heebo-Thin"): a file can name a family of its own ("Heebo Thin")
/// rather than a weight of the shared one.
QHash<QString, QString> &registeredFamilies()
{
    static QHash<QString, QString> families;
    return families;
}

} // namespace

void Artwork::registerFonts(const ResourceBundle &bundle)
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QString folder = bundle.path(QStringLiteral("fonts"));
    if (folder.isEmpty())
        return;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf"),
                                                       QStringLiteral("*.woff")},
                                                      QDir::Files)) {
        const QStringList families =
            QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(QDir(folder).filePath(file)));
        if (!families.isEmpty())
            registeredFamilies().insert(QFileInfo(file).completeBaseName(), families.first());
    }
}

QPixmap Artwork::symbol(const QString &name, const QColor &color, const QSize &size)
{
    const QString path = imagePath(QStringLiteral("symbols"), name);
    if (path.isEmpty())
        return {};
    QPixmap pixmap = render(path, size);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

QPixmap Artwork::logo(const QSize &size)
{
    const QString path = imagePath(QStringLiteral("images"), QStringLiteral("Logo"));
    return path.isEmpty() ? QPixmap() : render(path, size);
}

QColor Artwork::color(const QString &name, bool dark)
{
    static const ColorSet set;
    const auto found = set.colors.constFind(name);
    if (found == set.colors.constEnd())
        return qApp ? QGuiApplication::palette().color(QPalette::WindowText) : QColor(Qt::black);
    return dark ? found->second : found->first;
}

QFont Artwork::font(const QString &name, qreal pointSize)
{
    registerFonts(ResourceBundle::main());
    QFont font = QApplication::font();
    // "Heebo-Bold" is the family of the file of that name (Heebo) at bold
    // weight; without such a file, the Heebo family where it is installed.
    QString family = registeredFamilies().value(name);
    if (family.isEmpty() && QFontDatabase::families().contains(name.section(QLatin1Char('-'), 0, 0)))
        family = name.section(QLatin1Char('-'), 0, 0);
    if (!family.isEmpty())
        font.setFamilies({family});
    if (name.endsWith(QLatin1String("Bold")))
        font.setWeight(QFont::Bold);
    else if (name.endsWith(QLatin1String("Thin")))
        font.setWeight(QFont::Thin);
    else
        font.setWeight(QFont::Normal);
    font.setPointSizeF(pointSize);
    return font;
}

bool Artwork::isDarkMode()
{
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

} // namespace plinth
