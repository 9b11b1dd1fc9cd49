import Foundation

/// The signed-in user as the app keeps it between launches.
struct UserProfile: Codable, Equatable, Identifiable {
    let id: String
    var displayName: String
    var email: String
}

/// Where the session's access token is kept. Keep it in the keychain, never
/// in `UserDefaults`.
protocol SessionTokenStorage {
    func saveToken(_ token: String) throws
    func loadToken() -> String?
    func deleteToken() throws
}
