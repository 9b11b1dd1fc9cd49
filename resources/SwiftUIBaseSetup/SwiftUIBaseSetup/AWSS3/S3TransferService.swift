import AWSCore
import AWSS3
import Foundation

/// Uploads and downloads objects of one S3 bucket through the AWS transfer
/// utility, with credentials from a Cognito identity pool.
final class S3TransferService {
    struct Configuration {
        var region: AWSRegionType
        var identityPoolID: String
        var bucket: String
        /// The key the transfer utility is registered under; one per bucket.
        var utilityKey: String { "s3-transfer-\(bucket)" }
    }

    enum TransferError: Error {
        case utilityUnavailable
        case emptyDownload(key: String)
    }

    typealias ProgressHandler = (Progress) -> Void

    private let configuration: Configuration

    init(configuration: Configuration) {
        self.configuration = configuration
        let credentials = AWSCognitoCredentialsProvider(
            regionType: configuration.region,
            identityPoolId: configuration.identityPoolID
        )
        if let serviceConfiguration = AWSServiceConfiguration(
            region: configuration.region,
            credentialsProvider: credentials
        ), AWSS3TransferUtility.s3TransferUtility(forKey: configuration.utilityKey) == nil {
            AWSS3TransferUtility.register(with: serviceConfiguration, forKey: configuration.utilityKey)
        }
    }

    /// Uploads `data` as the object `key` and returns once S3 has stored it.
    func upload(
        _ data: Data,
        key: String,
        contentType: String = "application/octet-stream",
        progress: ProgressHandler? = nil
    ) async throws {
        let utility = try transferUtility()
        let expression = AWSS3TransferUtilityUploadExpression()
        expression.progressBlock = { _, value in progress?(value) }

        try await withCheckedThrowingContinuation { (continuation: CheckedContinuation<Void, Error>) in
            utility.uploadData(
                data,
                bucket: configuration.bucket,
                key: key,
                contentType: contentType,
                expression: expression
            ) { _, error in
                if let error {
                    continuation.resume(throwing: error)
                } else {
                    continuation.resume()
                }
            }
        }
    }

    /// Downloads the object `key` and returns its bytes.
    func download(key: String, progress: ProgressHandler? = nil) async throws -> Data {
        let utility = try transferUtility()
        let expression = AWSS3TransferUtilityDownloadExpression()
        expression.progressBlock = { _, value in progress?(value) }

        return try await withCheckedThrowingContinuation { continuation in
            utility.downloadData(
                fromBucket: configuration.bucket,
                key: key,
                expression: expression
            ) { _, _, data, error in
                if let error {
                    continuation.resume(throwing: error)
                } else if let data {
                    continuation.resume(returning: data)
                } else {
                    continuation.resume(throwing: TransferError.emptyDownload(key: key))
                }
            }
        }
    }

    private func transferUtility() throws -> AWSS3TransferUtility {
        guard let utility = AWSS3TransferUtility.s3TransferUtility(forKey: configuration.utilityKey) else {
            throw TransferError.utilityUnavailable
        }
        return utility
    }
}
