import Foundation

extension Date {
    /// The date in ISO 8601 form with fractional seconds, as most JSON APIs
    /// expect it.
    var iso8601String: String {
        let formatter = ISO8601DateFormatter()
        formatter.formatOptions = [.withInternetDateTime, .withFractionalSeconds]
        return formatter.string(from: self)
    }

    /// Whether the date falls on the same calendar day as `other`.
    func isSameDay(as other: Date, in calendar: Calendar = .current) -> Bool {
        calendar.isDate(self, inSameDayAs: other)
    }

    /// A short relative description ("2 hours ago", "in 3 days").
    func relativeDescription(to reference: Date = Date(), locale: Locale = .current) -> String {
        let formatter = RelativeDateTimeFormatter()
        formatter.locale = locale
        formatter.unitsStyle = .full
        return formatter.localizedString(for: self, relativeTo: reference)
    }
}
