import SwiftUI

/// Spacing and sizes that grow with the space a screen has: compact values on
/// an iPhone in portrait, roomier ones in a regular-width environment.
struct LayoutMetrics: Equatable {
    let spacing: CGFloat
    let horizontalPadding: CGFloat
    let maximumContentWidth: CGFloat?
    let columns: Int

    static let compact = LayoutMetrics(spacing: 12, horizontalPadding: 16, maximumContentWidth: nil, columns: 1)
    static let regular = LayoutMetrics(spacing: 20, horizontalPadding: 32, maximumContentWidth: 720, columns: 2)

    static func metrics(for sizeClass: UserInterfaceSizeClass?) -> LayoutMetrics {
        sizeClass == .regular ? .regular : .compact
    }
}

private struct LayoutMetricsKey: EnvironmentKey {
    static let defaultValue = LayoutMetrics.compact
}

extension EnvironmentValues {
    /// The metrics of the current horizontal size class; set by
    /// `adaptiveLayout()`.
    var layoutMetrics: LayoutMetrics {
        get { self[LayoutMetricsKey.self] }
        set { self[LayoutMetricsKey.self] = newValue }
    }
}

private struct AdaptiveLayoutModifier: ViewModifier {
    @Environment(\.horizontalSizeClass) private var horizontalSizeClass

    func body(content: Content) -> some View {
        let metrics = LayoutMetrics.metrics(for: horizontalSizeClass)
        content
            .frame(maxWidth: metrics.maximumContentWidth ?? .infinity)
            .padding(.horizontal, metrics.horizontalPadding)
            .frame(maxWidth: .infinity)
            .environment(\.layoutMetrics, metrics)
    }
}

extension View {
    /// Pads and limits the width of the content for the current size class
    /// and hands the matching `LayoutMetrics` to everything inside.
    func adaptiveLayout() -> some View {
        modifier(AdaptiveLayoutModifier())
    }
}
