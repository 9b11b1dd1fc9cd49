import XCTest
@testable import UIKitBaseSetup

final class ExtensionsTests: XCTestCase {
    func testEmailPlausibility() {
        XCTAssertTrue("ada@example.com".isValidEmail)
        XCTAssertTrue("first.last+tag@mail.example.co.uk".isValidEmail)
        XCTAssertFalse("ada@example".isValidEmail)
        XCTAssertFalse("ada example.com".isValidEmail)
        XCTAssertFalse("@example.com".isValidEmail)
    }

    func testBlankStrings() {
        XCTAssertTrue(" \n\t".isBlank)
        XCTAssertNil("   ".nilIfBlank)
        XCTAssertEqual("  Ada ".nilIfBlank, "Ada")
    }

    func testSafeSubscript() {
        let values = [1, 2, 3]
        XCTAssertEqual(values[safe: 2], 3)
        XCTAssertNil(values[safe: 3])
        XCTAssertNil(values[safe: -1])
    }

    func testSameDay() {
        var calendar = Calendar(identifier: .gregorian)
        calendar.timeZone = TimeZone(identifier: "UTC")!
        let morning = Date(timeIntervalSince1970: 8 * 3600)
        XCTAssertTrue(morning.isSameDay(as: morning.addingTimeInterval(3600), in: calendar))
        XCTAssertFalse(morning.isSameDay(as: morning.addingTimeInterval(24 * 3600), in: calendar))
    }
}
