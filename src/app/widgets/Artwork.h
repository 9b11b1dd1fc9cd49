#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace plinth {

class ResourceBundle;

/// The bundle's artwork: symbols (monochrome SVGs tinted on use), the logo,
/// the colour set and the Heebo fonts. Everything falls back quietly: a
/// missing symbol gives a null pixmap, a missing colour the palette's text
/// colour, a missing font the system font.
class Artwork
{
public:
    /// Registers the bundle's fonts with the application, once; font() does
    /// it on first use, so start-up does not pay for it.
    static void registerFonts(const ResourceBundle &bundle);

    /// The symbol by its platform name ("xmark", "plus.circle.fill"), drawn
    /// in `color` at `size` device-independent pixels.
    static QPixmap symbol(const QString &name, const QColor &color, const QSize &size);
    /// The "Logo" image at `size`.
    static QPixmap logo(const QSize &size);
    /// A named colour of the colour set, in its light or dark variant.
    static QColor color(const QString &name, bool dark = false);
    /// "Heebo-Regular", "Heebo-Bold" or "Heebo-Thin" at `pointSize`; the
    /// system font of that weight when the Heebo fonts are not installed.
    static QFont font(const QString &name, qreal pointSize);

    /// True when the palette of the application is a dark one.
    static bool isDarkMode();
};

} // namespace plinth
