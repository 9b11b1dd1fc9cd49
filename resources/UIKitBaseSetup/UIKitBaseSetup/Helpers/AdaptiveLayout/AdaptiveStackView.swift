import UIKit

/// A stack view that lays its views out side by side in a regular-width
/// environment and one above the other in a compact one, switching when the
/// size class changes.
final class AdaptiveStackView: UIStackView {
    var compactSpacing: CGFloat = 12 { didSet { updateLayout() } }
    var regularSpacing: CGFloat = 20 { didSet { updateLayout() } }

    /// The size class the current layout was made for.
    private var appliedSizeClass: UIUserInterfaceSizeClass?

    override init(frame: CGRect) {
        super.init(frame: frame)
        updateLayout()
    }

    required init(coder: NSCoder) {
        super.init(coder: coder)
        updateLayout()
    }

    override func layoutSubviews() {
        if appliedSizeClass != traitCollection.horizontalSizeClass {
            updateLayout()
        }
        super.layoutSubviews()
    }

    private func updateLayout() {
        appliedSizeClass = traitCollection.horizontalSizeClass
        let isRegular = traitCollection.isRegularWidth
        axis = isRegular ? .horizontal : .vertical
        alignment = isRegular ? .top : .fill
        distribution = isRegular ? .fillEqually : .fill
        spacing = isRegular ? regularSpacing : compactSpacing
    }
}
