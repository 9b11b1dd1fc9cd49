import Foundation

/// HTTP methods the API layer sends.
enum HTTPMethod: String, Sendable {
    case get = "GET"
    case post = "POST"
    case put = "PUT"
    case patch = "PATCH"
    case delete = "DELETE"
}

/// One request of an API, described independently of the host it is sent to.
/// `Response` is the type its body decodes into.
struct Endpoint<Response: Decodable> {
    var path: String
    var method: HTTPMethod = .get
    var queryItems: [URLQueryItem] = []
    var headers: [String: String] = [:]
    var body: (any Encodable)?

    /// The request for this endpoint against `baseURL`. The path is appended
    /// to whatever path `baseURL` already has.
    func urlRequest(relativeTo baseURL: URL, encoder: JSONEncoder = JSONEncoder()) throws -> URLRequest {
        let trimmedPath = path.hasPrefix("/") ? String(path.dropFirst()) : path
        let url = trimmedPath.isEmpty ? baseURL : baseURL.appendingPathComponent(trimmedPath)
        guard var components = URLComponents(url: url, resolvingAgainstBaseURL: false) else {
            throw NetworkError.invalidURL(url.absoluteString)
        }
        if !queryItems.isEmpty {
            components.queryItems = (components.queryItems ?? []) + queryItems
        }
        guard let resolvedURL = components.url else {
            throw NetworkError.invalidURL(components.description)
        }

        var request = URLRequest(url: resolvedURL)
        request.httpMethod = method.rawValue
        request.setValue("application/json", forHTTPHeaderField: "Accept")
        if let body {
            request.httpBody = try encoder.encode(body)
            request.setValue("application/json", forHTTPHeaderField: "Content-Type")
        }
        for (field, value) in headers {
            request.setValue(value, forHTTPHeaderField: field)
        }
        return request
    }
}

/// The body of a response that carries nothing worth decoding.
struct EmptyResponse: Decodable, Equatable {}
