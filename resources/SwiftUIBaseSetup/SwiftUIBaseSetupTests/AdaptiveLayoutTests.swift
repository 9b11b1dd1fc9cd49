import SwiftUI
import XCTest
@testable import SwiftUIBaseSetup

final class AdaptiveLayoutTests: XCTestCase {
    func testMetricsFollowTheSizeClass() {
        XCTAssertEqual(LayoutMetrics.metrics(for: .regular), .regular)
        XCTAssertEqual(LayoutMetrics.metrics(for: .compact), .compact)
        XCTAssertEqual(LayoutMetrics.metrics(for: nil), .compact)
    }

    func testRegularLayoutIsRoomier() {
        XCTAssertGreaterThan(LayoutMetrics.regular.spacing, LayoutMetrics.compact.spacing)
        XCTAssertGreaterThan(LayoutMetrics.regular.columns, LayoutMetrics.compact.columns)
    }
}
