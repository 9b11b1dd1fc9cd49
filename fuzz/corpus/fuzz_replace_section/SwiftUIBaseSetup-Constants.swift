struct URL {
    	#if QA
		static let baseURL = "https://www.tarnwick.com/QA"
    	#else
    	#endif
	}\ import Foundation

/// Fixed values of the app. The addresses differ per build configuration;
/// the project generator writes one branch per configuration.
enum Constants {
    struct URL {
        #if Development
        static let baseURL = "https://api.example.com/Development"
        #elseif UAT
        static let baseURL = "https://api.example.com/UAT"
        #elseif Staging
        static let baseURL = "https://api.example.com/Staging"
        #else
        static let baseURL = "https://api.example.com/Production"
        #endif

        #if Development
        static let awsURL = "https://files.example.com/Development"
        #elseif UAT
        static let awsURL = "https://files.example.com/UAT"
        #elseif Staging
        static let awsURL = "https://files.example.com/Staging"
        #else
        static let awsURL = "https://files.example.com/Production"
        #endif
    }

    /// The default time-out of network requests, in seconds.
    static let requestTimeout: TimeInterval = 30
}
