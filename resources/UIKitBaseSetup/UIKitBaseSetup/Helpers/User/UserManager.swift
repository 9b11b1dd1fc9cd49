import Combine
import Foundation

/// Owns the user's session: who is signed in, their profile and their token.
/// The profile lives in `UserDefaults`; the token goes to the storage given
/// at creation (the keychain in a real app).
@MainActor
final class UserManager: ObservableObject {
    @Published private(set) var currentUser: UserProfile?

    var isSignedIn: Bool { currentUser != nil && tokenStorage.loadToken() != nil }

    private let tokenStorage: SessionTokenStorage
    private let storedProfile: UserDefault<UserProfile?>

    init(tokenStorage: SessionTokenStorage, defaults: UserDefaults = .standard) {
        self.tokenStorage = tokenStorage
        self.storedProfile = UserDefault("user.profile", store: defaults)
        let profile = storedProfile.wrappedValue
        currentUser = tokenStorage.loadToken() == nil ? nil : profile
    }

    /// Starts a session for `profile` with the token the server issued.
    func signIn(_ profile: UserProfile, token: String) throws {
        try tokenStorage.saveToken(token)
        storedProfile.wrappedValue = profile
        currentUser = profile
    }

    /// Replaces the stored profile of the signed-in user.
    func updateProfile(_ profile: UserProfile) {
        guard currentUser?.id == profile.id else { return }
        storedProfile.wrappedValue = profile
        currentUser = profile
    }

    /// Ends the session and forgets the profile and the token.
    func signOut() throws {
        try tokenStorage.deleteToken()
        storedProfile.wrappedValue = nil
        currentUser = nil
    }
}
