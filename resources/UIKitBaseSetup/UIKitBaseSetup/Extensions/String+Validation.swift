import Foundation

extension String {
    /// The string without white space and line breaks at either end.
    var trimmed: String { trimmingCharacters(in: .whitespacesAndNewlines) }

    /// True when the string holds nothing but white space.
    var isBlank: Bool { trimmed.isEmpty }

    /// A plausibility check of an e-mail address (one "@", a dotted domain);
    /// the server remains the judge of whether it exists.
    var isValidEmail: Bool {
        let pattern = #"^[A-Z0-9a-z._%+-]+@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*\.[A-Za-z]{2,}$"#
        return range(of: pattern, options: .regularExpression) != nil
    }

    /// nil for a blank string, the trimmed string otherwise.
    var nilIfBlank: String? { isBlank ? nil : trimmed }
}
