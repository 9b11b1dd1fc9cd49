import XCTest
@testable import SwiftUIBaseSetup

@MainActor
final class UserManagerTests: XCTestCase {
    private final class TokenStorageStub: SessionTokenStorage {
        var token: String?
        func saveToken(_ token: String) throws { self.token = token }
        func loadToken() -> String? { token }
        func deleteToken() throws { token = nil }
    }

    private var defaults: UserDefaults!
    private let suiteName = "UserManagerTests"

    override func setUp() {
        super.setUp()
        defaults = UserDefaults(suiteName: suiteName)
        defaults.removePersistentDomain(forName: suiteName)
    }

    override func tearDown() {
        defaults.removePersistentDomain(forName: suiteName)
        defaults = nil
        super.tearDown()
    }

    func testSignInIsRememberedAcrossInstances() throws {
        let storage = TokenStorageStub()
        let profile = UserProfile(id: "7", displayName: "Ada", email: "ada@example.com")
        try UserManager(tokenStorage: storage, defaults: defaults).signIn(profile, token: "secret")

        let restored = UserManager(tokenStorage: storage, defaults: defaults)
        XCTAssertEqual(restored.currentUser, profile)
        XCTAssertTrue(restored.isSignedIn)
    }

    func testSignOutForgetsProfileAndToken() throws {
        let storage = TokenStorageStub()
        let manager = UserManager(tokenStorage: storage, defaults: defaults)
        try manager.signIn(UserProfile(id: "7", displayName: "Ada", email: "ada@example.com"), token: "secret")
        try manager.signOut()

        XCTAssertNil(manager.currentUser)
        XCTAssertNil(storage.token)
        XCTAssertNil(UserManager(tokenStorage: storage, defaults: defaults).currentUser)
    }

    func testProfileWithoutTokenIsNotASession() throws {
        let storage = TokenStorageStub()
        try UserManager(tokenStorage: storage, defaults: defaults)
            .signIn(UserProfile(id: "7", displayName: "Ada", email: "ada@example.com"), token: "secret")
        storage.token = nil

        XCTAssertNil(UserManager(tokenStorage: storage, defaults: defaults).currentUser)
    }
}
