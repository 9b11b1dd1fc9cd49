import SwiftUI

/// Lays its content out side by side when the width is regular and one
/// above the other when it is compact.
struct AdaptiveStack<Content: View>: View {
    @Environment(\.horizontalSizeClass) private var horizontalSizeClass

    private let spacing: CGFloat?
    private let content: () -> Content

    init(spacing: CGFloat? = nil, @ViewBuilder content: @escaping () -> Content) {
        self.spacing = spacing
        self.content = content
    }

    var body: some View {
        let spacing = spacing ?? LayoutMetrics.metrics(for: horizontalSizeClass).spacing
        if horizontalSizeClass == .regular {
            HStack(alignment: .top, spacing: spacing, content: content)
        } else {
            VStack(alignment: .leading, spacing: spacing, content: content)
        }
    }
}
