import XCTest
@testable import UIKitBaseSetup

final class UIKitBaseSetupTests: XCTestCase {
    func testEveryAddressIsAnHTTPSURL() throws {
        for address in [Constants.URL.baseURL, Constants.URL.awsURL] {
            let url = try XCTUnwrap(URL(string: address), address)
            XCTAssertEqual(url.scheme, "https", address)
            XCTAssertNotNil(url.host, address)
        }
    }

    func testRequestTimeoutIsPositive() {
        XCTAssertGreaterThan(Constants.requestTimeout, 0)
    }
}
