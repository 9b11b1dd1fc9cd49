import Foundation

/// Why a request did not produce a decoded response.
enum NetworkError: Error, Equatable {
    /// The endpoint and base address do not form a valid URL.
    case invalidURL(String)
    /// The server answered with a status outside 200...299.
    case unacceptableStatusCode(Int, body: Data?)
    /// The body could not be decoded into the expected type.
    case decodingFailed(String)
    /// The request never got an answer (no connection, time-out, cancelled).
    case transport(String)
}

extension NetworkError: LocalizedError {
    var errorDescription: String? {
        switch self {
        case .invalidURL(let url):
            return "The address \(url) is not valid."
        case .unacceptableStatusCode(let code, _):
            return "The server answered with status \(code)."
        case .decodingFailed(let reason):
            return "The server's answer could not be read: \(reason)"
        case .transport(let reason):
            return "The request failed: \(reason)"
        }
    }
}
