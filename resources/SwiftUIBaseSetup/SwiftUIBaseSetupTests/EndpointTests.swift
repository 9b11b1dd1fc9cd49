import XCTest
@testable import SwiftUIBaseSetup

final class EndpointTests: XCTestCase {
    private struct Item: Codable, Equatable {
        let name: String
    }

    private let baseURL = URL(string: "https://api.example.com/v1")!

    func testPathIsAppendedToTheBasePath() throws {
        let endpoint = Endpoint<Item>(path: "/items/42")
        let request = try endpoint.urlRequest(relativeTo: baseURL)
        XCTAssertEqual(request.url?.absoluteString, "https://api.example.com/v1/items/42")
        XCTAssertEqual(request.httpMethod, "GET")
        XCTAssertNil(request.httpBody)
    }

    func testQueryItemsAreEncoded() throws {
        let endpoint = Endpoint<[Item]>(path: "items", queryItems: [URLQueryItem(name: "q", value: "a b&c")])
        let request = try endpoint.urlRequest(relativeTo: baseURL)
        XCTAssertEqual(request.url?.absoluteString, "https://api.example.com/v1/items?q=a%20b%26c")
    }

    func testBodyIsSentAsJSON() throws {
        let endpoint = Endpoint<Item>(path: "items", method: .post, body: Item(name: "Lamp"))
        let request = try endpoint.urlRequest(relativeTo: baseURL)
        XCTAssertEqual(request.httpMethod, "POST")
        XCTAssertEqual(request.value(forHTTPHeaderField: "Content-Type"), "application/json")
        let body = try XCTUnwrap(request.httpBody)
        XCTAssertEqual(try JSONDecoder().decode(Item.self, from: body), Item(name: "Lamp"))
    }

    func testHeadersOverrideTheDefaults() throws {
        let endpoint = Endpoint<Item>(path: "items", headers: ["Accept": "text/plain", "X-Trace": "1"])
        let request = try endpoint.urlRequest(relativeTo: baseURL)
        XCTAssertEqual(request.value(forHTTPHeaderField: "Accept"), "text/plain")
        XCTAssertEqual(request.value(forHTTPHeaderField: "X-Trace"), "1")
    }
}
