import UIKit
import XCTest
@testable import UIKitBaseSetup

final class AdaptiveLayoutTests: XCTestCase {
    func testColumnsFollowTheWidth() {
        let regular = UITraitCollection(horizontalSizeClass: .regular)
        let compact = UITraitCollection(horizontalSizeClass: .compact)

        XCTAssertEqual(regular.preferredColumnCount, 2)
        XCTAssertEqual(compact.preferredColumnCount, 1)
        XCTAssertTrue(regular.isRegularWidth)
        XCTAssertFalse(compact.isRegularWidth)
        XCTAssertGreaterThan(regular.preferredHorizontalMargin, compact.preferredHorizontalMargin)
    }

    func testStackViewStartsInTheCompactLayout() {
        let stack = AdaptiveStackView(arrangedSubviews: [UIView(), UIView()])
        stack.compactSpacing = 10
        XCTAssertEqual(stack.arrangedSubviews.count, 2)
        XCTAssertEqual(stack.spacing, stack.traitCollection.isRegularWidth ? stack.regularSpacing : 10)
    }
}
