#if QA\ import Logging
import UIKit

/// Scene life-cycle events of the SwiftUI window.
final class SceneDelegate: NSObject, UIWindowSceneDelegate {
    private let logger = Logger(label: "SwiftUIBaseSetup.scene")

    func scene(
        _ scene: UIScene,
        willConnectTo session: UISceneSession,
        options connectionOptions: UIScene.ConnectionOptions
    ) {
        #if Development
        logger.info("Development build, API at \(Constants.URL.baseURL)")
        #endif
    }

    func sceneDidEnterBackground(_ scene: UIScene) {
        logger.debug("Scene entered the background")
    }
}
