import Security
import XCTest
@testable import UIKitBaseSetup

final class KeychainTests: XCTestCase {
    private var keychain: KeychainManager!

    override func setUpWithError() throws {
        try super.setUpWithError()
        keychain = KeychainManager(service: "tests.\(UUID().uuidString)")
        do {
            try keychain.set("probe", forKey: "probe")
        } catch KeychainManager.KeychainError.unexpectedStatus(errSecMissingEntitlement) {
            throw XCTSkip("This test host has no keychain access")
        }
    }

    override func tearDownWithError() throws {
        try keychain?.removeAll()
        keychain = nil
        try super.tearDownWithError()
    }

    func testStoredValueIsReadBackAndReplaced() throws {
        try keychain.set("first", forKey: "token")
        XCTAssertEqual(try keychain.string(forKey: "token"), "first")

        try keychain.set("second", forKey: "token")
        XCTAssertEqual(try keychain.string(forKey: "token"), "second")
    }

    func testRemovedValueIsGoneAndRemovingAgainIsNoError() throws {
        try keychain.set("value", forKey: "token")
        try keychain.removeValue(forKey: "token")
        XCTAssertNil(try keychain.string(forKey: "token"))
        XCTAssertNoThrow(try keychain.removeValue(forKey: "token"))
    }
}
