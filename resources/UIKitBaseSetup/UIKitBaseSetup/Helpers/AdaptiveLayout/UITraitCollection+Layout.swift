import UIKit

extension UITraitCollection {
    /// True in a regular-width environment (iPad full screen, large iPhones
    /// in landscape).
    var isRegularWidth: Bool { horizontalSizeClass == .regular }

    /// The horizontal margin content should keep from the screen edges.
    var preferredHorizontalMargin: CGFloat { isRegularWidth ? 32 : 16 }

    /// How many columns a grid of cards should use.
    var preferredColumnCount: Int {
        switch (horizontalSizeClass, verticalSizeClass) {
        case (.regular, .regular):
            return 3
        case (.regular, _):
            return 2
        default:
            return 1
        }
    }
}
