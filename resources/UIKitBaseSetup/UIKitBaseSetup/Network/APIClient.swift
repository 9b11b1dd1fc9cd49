import Alamofire
import Foundation
import Logging

/// Sends `Endpoint`s to one API host and decodes their responses.
///
/// Requests go through an Alamofire `Session`, so retry policies, request
/// adapters (authentication headers) and event monitors plug in where
/// Alamofire expects them.
final class APIClient {
    private let baseURL: URL
    private let session: Session
    private let decoder: JSONDecoder
    private let encoder: JSONEncoder
    private let logger: Logger

    init(
        baseURL: URL,
        session: Session = .default,
        decoder: JSONDecoder = JSONDecoder(),
        encoder: JSONEncoder = JSONEncoder(),
        logger: Logger = Logger(label: "network.api-client")
    ) {
        self.baseURL = baseURL
        self.session = session
        self.decoder = decoder
        self.encoder = encoder
        self.logger = logger
    }

    /// Sends the endpoint and returns its decoded body.
    func send<Response: Decodable>(_ endpoint: Endpoint<Response>) async throws -> Response {
        let request = try endpoint.urlRequest(relativeTo: baseURL, encoder: encoder)
        logger.debug("\(request.httpMethod ?? "GET") \(request.url?.absoluteString ?? "")")

        let response = await session.request(request)
            .validate(statusCode: 200..<300)
            .serializingData(emptyResponseCodes: [200, 204, 205])
            .response

        switch response.result {
        case .success(let data):
            return try decode(Response.self, from: data)
        case .failure(let error):
            logger.warning("Request to \(request.url?.absoluteString ?? "") failed: \(error.localizedDescription)")
            throw Self.networkError(from: error, statusCode: response.response?.statusCode, body: response.data)
        }
    }

    private func decode<Response: Decodable>(_ type: Response.Type, from data: Data) throws -> Response {
        if data.isEmpty, let empty = EmptyResponse() as? Response {
            return empty
        }
        do {
            return try decoder.decode(Response.self, from: data)
        } catch {
            throw NetworkError.decodingFailed(String(describing: error))
        }
    }

    private static func networkError(from error: AFError, statusCode: Int?, body: Data?) -> NetworkError {
        if case .responseValidationFailed(reason: .unacceptableStatusCode(let code)) = error {
            return .unacceptableStatusCode(code, body: body)
        }
        if let statusCode, !(200..<300).contains(statusCode) {
            return .unacceptableStatusCode(statusCode, body: body)
        }
        return .transport(error.underlyingError?.localizedDescription ?? error.localizedDescription)
    }
}
