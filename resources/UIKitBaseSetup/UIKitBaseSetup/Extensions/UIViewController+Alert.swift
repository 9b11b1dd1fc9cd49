import UIKit

extension UIViewController {
    /// Shows a simple alert with one dismiss button.
    func presentAlert(title: String?, message: String?, buttonTitle: String = "OK", onDismiss: (() -> Void)? = nil) {
        let alert = UIAlertController(title: title, message: message, preferredStyle: .alert)
        alert.addAction(UIAlertAction(title: buttonTitle, style: .default) { _ in onDismiss?() })
        present(alert, animated: true)
    }

    /// Shows the error's localized description in an alert.
    func presentError(_ error: Error, title: String = "Something went wrong") {
        presentAlert(title: title, message: error.localizedDescription)
    }
}
