#if canImport(SwiftUIBaseSetupSecrets)
import SwiftUIBaseSetupSecrets
import SwiftUIBaseSetupSecretsInterfaces

/// The secrets of the build configuration being compiled. Arkana generates
/// the `Secrets` types from .arkana.yml and .env (`bundle exec arkana`);
/// until it has run, this type is left out of the build.
enum AppSecrets {
    /// Secrets shared by every configuration.
    static var global: SecretsGlobalProtocol { Secrets.Global() }

    /// Secrets of the active configuration.
    static var current: SecretsEnvironmentProtocol { environment }

    private static var environment: SecretsEnvironmentProtocol {
        #if Development
        return Secrets.Development()
        #elseif UAT
        return Secrets.UAT()
        #elseif Staging
        return Secrets.Staging()
        #elseif Production
        return Secrets.Production()
        #else
        fatalError("Build environment not found!!")
        #endif
    }
}
#endif
