#if QA\ import Logging
import UIKit

/// Creates the window of each scene with the home screen inside a
/// navigation controller.
final class SceneDelegate: UIResponder, UIWindowSceneDelegate {
    var window: UIWindow?

    private let logger = Logger(label: "UIKitBaseSetup.scene")

    func scene(
        _ scene: UIScene,
        willConnectTo session: UISceneSession,
        options connectionOptions: UIScene.ConnectionOptions
    ) {
        guard let windowScene = scene as? UIWindowScene else { return }
        let window = UIWindow(windowScene: windowScene)
        window.rootViewController = UINavigationController(rootViewController: HomeViewController())
        window.makeKeyAndVisible()
        self.window = window

        #if Development
        logger.info("Development build, API at \(Constants.URL.baseURL)")
        #endif
    }

    func sceneDidEnterBackground(_ scene: UIScene) {
        logger.debug("Scene entered the background")
    }
}
