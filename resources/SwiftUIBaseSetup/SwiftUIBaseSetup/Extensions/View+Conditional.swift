import SwiftUI

extension View {
    /// Applies `transform` only when `condition` holds.
    @ViewBuilder
    func `if`<Transformed: View>(_ condition: Bool, transform: (Self) -> Transformed) -> some View {
        if condition {
            transform(self)
        } else {
            self
        }
    }

    /// Hides the view, keeping or giving up its space.
    @ViewBuilder
    func hidden(_ isHidden: Bool, keepsSpace: Bool = true) -> some View {
        if !isHidden {
            self
        } else if keepsSpace {
            self.hidden()
        }
    }
}
