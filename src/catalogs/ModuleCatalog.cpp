#include "catalogs/ModuleCatalog.h"

#include "generation/XcodeGenSpecification.h"

namespace plinth {

namespace {

struct ModuleEntry
{
    const char *title;
    const char *uiKitDirectory;
    const char *swiftUIDirectory;
    UIInterface interface;
    const char *requiredPod; // empty: none
    bool bringsNetworkPackage;
    const char *description;
};

constexpr ModuleEntry modules[] = {
    {"Network layer", "Network", "NetworkLayer", UIInterface::both, "", true,
     "Manages HTTP requests and responses, abstracts networking complexity, and ensures reliable data exchange."},
    {"User Manager", "Helpers/User", "Helpers/UserDefaults", UIInterface::both, "", false,
     "Manages user authentication, profiles, and sessions. Handles login, registration, and user data management."},
    {"KeyChain manager", "Helpers/KeychainManager.swift", "Helpers/Keychain", UIInterface::both, "", false,
     "Securely stores and retrieves sensitive data, such as passwords and tokens, using the device\xE2\x80\x99s "
     "Keychain."},
    {"Adaptive layout", "Helpers/AdaptiveLayout", "Helpers/AdaptiveLayout", UIInterface::both, "", false,
     "Automatically adjusts the user interface to different screen sizes and orientations for a responsive design."},
    {"AWSS3", "AWSS3", "AWSS3", UIInterface::both, "AWSS3", false,
     "Handles interaction with Amazon S3 for storing and retrieving files in the cloud."},
    {"BLE", "BLE", "BLE", UIInterface::both, "", false,
     "Manages Bluetooth Low Energy communication for connecting and interacting with BLE devices."},
    {"Dynamics", "Dynamics", "Dynamics", UIInterface::UIKit, "", false,
     "This includes live, creating engaging and responsive user experiences."},
    {"Extensions", "Extensions", "Extensions", UIInterface::both, "", false,
     "Extensions in Swift allow you to add new functionality to existing classes, structures, enumerations, or "
     "protocols."},
};

} // namespace

QList<ListItem> moduleCatalog(bool isUIKit)
{
    QList<ListItem> catalog;
    for (const ModuleEntry &module : modules) {
        ListItem item;
        item.title = QString::fromUtf8(module.title);
        item.description = QString::fromUtf8(module.description);
        item.directoryName = QString::fromUtf8(isUIKit ? module.uiKitDirectory : module.swiftUIDirectory);
        item.podType = PodType::supplemental;
        item.interface = module.interface;
        if (module.bringsNetworkPackage) {
            item.spmGitHubURL = QString::fromLatin1(wirecallPackageURL);
            // What the network layer's sources import, at the versions a
            // new project's project.yml asks for.
            item.requiredPackages = {
                {QString::fromLatin1(alamofirePackageURL), QStringLiteral("Alamofire"),
                 QStringLiteral("exact:") + QString::fromLatin1(alamofirePackageVersion)},
                {QString::fromLatin1(loggingPackageURL), QStringLiteral("Logging"),
                 QStringLiteral("from:") + QString::fromLatin1(loggingPackageMinimumVersion)},
            };
        }
        if (*module.requiredPod)
            item.requiredPods = QStringList{QString::fromUtf8(module.requiredPod)};
        catalog.append(item);
    }
    return catalog;
}

bool isOfferedFor(const ListItem &item, bool isUIKit)
{
    return item.interface == UIInterface::both
           || item.interface == (isUIKit ? UIInterface::UIKit : UIInterface::swiftUi);
}

QList<ListItem> offeredModules(bool isUIKit)
{
    QList<ListItem> offered;
    for (const ListItem &item : moduleCatalog(isUIKit)) {
        if (isOfferedFor(item, isUIKit))
            offered.append(item);
    }
    return offered;
}

} // namespace plinth
