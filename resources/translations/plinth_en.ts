<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="projectTypeSelectionViewTitle">
        <source>What would you like to set up?</source>
        <translation>What would you like to set up?</translation>
    </message>
    <message id="newProject">
        <source>New Project</source>
        <translation>New Project</translation>
    </message>
    <message id="existingProject">
        <source>Existing Project</source>
        <translation>Existing Project</translation>
    </message>
    <message id="next">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="previous">
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="create">
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message id="finish">
        <source>Finish</source>
        <translation>Finish</translation>
    </message>
    <message id="checkForDependencies">
        <source>Checking for required tools…</source>
        <translation>Checking for required tools…</translation>
    </message>
    <message id="installingDependencies">
        <source>Install the missing tools</source>
        <translation>Install the missing tools</translation>
    </message>
    <message id="dependenciesNotFound">
        <source>Some required tools are missing.</source>
        <translation>Some required tools are missing.</translation>
    </message>
    <message id="dependenciesExistAndReadyToProceed">
        <source>All required tools are installed. You are ready to proceed.</source>
        <translation>All required tools are installed. You are ready to proceed.</translation>
    </message>
    <message id="brewExistenceCheckScriptNotFound">
        <source>A tool check script is missing from the application's resources.</source>
        <translation>A tool check script is missing from the application's resources.</translation>
    </message>
    <message id="output">
        <source>output</source>
        <translation>output</translation>
    </message>
    <message id="productName">
        <source>Product Name</source>
        <translation>Product Name</translation>
    </message>
    <message id="organisationsName">
        <source>Organisation Name</source>
        <translation>Organisation Name</translation>
    </message>
    <message id="authorName">
        <source>Author Name</source>
        <translation>Author Name</translation>
    </message>
    <message id="bundleIdentifier">
        <source>Bundle Identifier</source>
        <translation>Bundle Identifier</translation>
    </message>
    <message id="projectNameInitialSmallCaseFound">
        <source>The product name must start with a capital letter.</source>
        <translation>The product name must start with a capital letter.</translation>
    </message>
    <message id="projectNameInitialDigitFound">
        <source>The product name must not start with a digit.</source>
        <translation>The product name must not start with a digit.</translation>
    </message>
    <message id="projectNameContainsSpecialCharacter">
        <source>The product name may contain only letters and digits.</source>
        <translation>The product name may contain only letters and digits.</translation>
    </message>
    <message id="projectNameContainsSpace">
        <source>The product name must not contain spaces.</source>
        <translation>The product name must not contain spaces.</translation>
    </message>
    <message id="projectNameReadsAsYamlValue">
        <source>The product name must not be a word that YAML reads as true, false or null (Y, N, Yes, No, On, Off, True, False, Null).</source>
        <translation>The product name must not be a word that YAML reads as true, false or null (Y, N, Yes, No, On, Off, True, False, Null).</translation>
    </message>
    <message id="projectNameSwiftKeyword">
        <source>The product name must not be a Swift keyword (Any, Self, Type, Protocol).</source>
        <translation>The product name must not be a Swift keyword (Any, Self, Type, Protocol).</translation>
    </message>
    <message id="projectNameImportedModule">
        <source>The product name must not be the name of a module the app imports (such as SwiftUI, UIKit or Foundation).</source>
        <translation>The product name must not be the name of a module the app imports (such as SwiftUI, UIKit or Foundation).</translation>
    </message>
    <message id="projectNameProjectRootEntry">
        <source>The product name must not name a file or folder of the project folder (Pods, Podfile, Gemfile, Dependencies, vendor, fastlane), in any letter case.</source>
        <translation>The product name must not name a file or folder of the project folder (Pods, Podfile, Gemfile, Dependencies, vendor, fastlane), in any letter case.</translation>
    </message>
    <message id="interface">
        <source>Interface</source>
        <translation>Interface</translation>
    </message>
    <message id="swiftUi">
        <source>SwiftUI</source>
        <translation>SwiftUI</translation>
    </message>
    <message id="uiKit">
        <source>UIKit</source>
        <translation>UIKit</translation>
    </message>
    <message id="deploymentTarget">
        <source>Minimum Deployment Target</source>
        <translation>Minimum Deployment Target</translation>
    </message>
    <message id="deploymentTarget16_0">
        <source>16.0</source>
        <translation>16.0</translation>
    </message>
    <message id="deploymentTarget17_0">
        <source>17.0</source>
        <translation>17.0</translation>
    </message>
    <message id="deploymentTarget18_0">
        <source>18.0</source>
        <translation>18.0</translation>
    </message>
    <message id="destinations">
        <source>Destination</source>
        <translation>Destination</translation>
    </message>
    <message id="configVariants">
        <source>Configuration Variants</source>
        <translation>Configuration Variants</translation>
    </message>
    <message id="otherConfigurations">
        <source>Other Configurations</source>
        <translation>Other Configurations</translation>
    </message>
    <message id="variantDevelopment">
        <source>Development</source>
        <translation>Development</translation>
    </message>
    <message id="variantUAT">
        <source>UAT</source>
        <translation>UAT</translation>
    </message>
    <message id="variantStaging">
        <source>Staging</source>
        <translation>Staging</translation>
    </message>
    <message id="variantProduction">
        <source>Production</source>
        <translation>Production</translation>
    </message>
    <message id="awss3">
        <source>AWSS3</source>
        <translation>AWSS3</translation>
    </message>
    <message id="ble">
        <source>BLE</source>
        <translation>BLE</translation>
    </message>
    <message id="addVariantTitle">
        <source>Add a Configuration Variant</source>
        <translation>Add a Configuration Variant</translation>
    </message>
    <message id="addVariantPlaceHolder">
        <source>Variant name</source>
        <translation>Variant name</translation>
    </message>
    <message id="selectDevelopmentSchemeTitle">
        <source>No Development Scheme</source>
        <translation>No Development Scheme</translation>
    </message>
    <message id="selectDevelopmentSchemeSubTitle">
        <source>Choose which configuration variant serves as the development scheme.</source>
        <translation>Choose which configuration variant serves as the development scheme.</translation>
    </message>
    <message id="noConfigVariantSelectionTitle">
        <source>No Configuration Variant</source>
        <translation>No Configuration Variant</translation>
    </message>
    <message id="noConfigVariantSelectionSubTitle">
        <source>Select at least one configuration variant.</source>
        <translation>Select at least one configuration variant.</translation>
    </message>
    <message id="inValidPath">
        <source>The destination folder does not exist or cannot be used.</source>
        <translation>The destination folder does not exist or cannot be used.</translation>
    </message>
    <message id="directoryAlreadyExistTitle">
        <source>Folder Already Exists</source>
        <translation>Folder Already Exists</translation>
    </message>
    <message id="directoryAlreadyExistSubTitle">
        <source>“%1” already exists. Choose another product name or destination.</source>
        <translation>“%1” already exists. Choose another product name or destination.</translation>
    </message>
    <message id="directoryCreationFailureTitle">
        <source>Folder Could Not Be Created</source>
        <translation>Folder Could Not Be Created</translation>
    </message>
    <message id="directoryCreationFailureSubTitle">
        <source>The project folder could not be created: %1</source>
        <translation>The project folder could not be created: %1</translation>
    </message>
    <message id="presetAndSelectedPodsTitle">
        <source>Pods in Your Project</source>
        <translation>Pods in Your Project</translation>
    </message>
    <message id="supplementalPodsTitle">
        <source>More Pods</source>
        <translation>More Pods</translation>
    </message>
    <message id="parsingHTMLContentFailure">
        <source>The library list could not be read: %1</source>
        <translation>The library list could not be read: %1</translation>
    </message>
    <message id="itemExtractFailure">
        <source>A library entry could not be read: %1</source>
        <translation>A library entry could not be read: %1</translation>
    </message>
    <message id="couldNotExtractDetailsOfSupplementalPods">
        <source>No library details were found in: %1</source>
        <translation>No library details were found in: %1</translation>
    </message>
    <message id="htmlContentRetriveFailure">
        <source>The library list could not be downloaded: %1</source>
        <translation>The library list could not be downloaded: %1</translation>
    </message>
    <message id="descriptionNotFoundForPod">
        <source>No description available for %1.</source>
        <translation>No description available for %1.</translation>
    </message>
    <message id="selectedModulesTitle">
        <source>Selected Modules</source>
        <translation>Selected Modules</translation>
    </message>
    <message id="supplementalModulesTitle">
        <source>More Modules</source>
        <translation>More Modules</translation>
    </message>
    <message id="askForArkanaIntegration">
        <source>Integrate Arkana to keep API keys and secrets out of source control?</source>
        <translation>Integrate Arkana to keep API keys and secrets out of source control?</translation>
    </message>
    <message id="generationStepProjectRoot">
        <source>Create the project folder</source>
        <translation>Create the project folder</translation>
    </message>
    <message id="generationStepTargetDirectories">
        <source>Create the target folders</source>
        <translation>Create the target folders</translation>
    </message>
    <message id="generationStepXcodeGenSpecification">
        <source>Write project.yml</source>
        <translation>Write project.yml</translation>
    </message>
    <message id="generationStepTemplateCopy">
        <source>Copy the template</source>
        <translation>Copy the template</translation>
    </message>
    <message id="generationStepXcodeGen">
        <source>Generate the Xcode project</source>
        <translation>Generate the Xcode project</translation>
    </message>
    <message id="generationStepPostGeneration">
        <source>Write the Podfile</source>
        <translation>Write the Podfile</translation>
    </message>
    <message id="generationStepInstantiation">
        <source>Adapt the files to the product name</source>
        <translation>Adapt the files to the product name</translation>
    </message>
    <message id="generationStepArkanaFiles">
        <source>Add the Arkana secrets files</source>
        <translation>Add the Arkana secrets files</translation>
    </message>
    <message id="generationStepModuleCopy">
        <source>Copy the module %1</source>
        <translation>Copy the module %1</translation>
    </message>
    <message id="generationStepModuleTarget">
        <source>Add the module %1 to the app target</source>
        <translation>Add the module %1 to the app target</translation>
    </message>
    <message id="generationStepPodInstallation">
        <source>Install the pods</source>
        <translation>Install the pods</translation>
    </message>
    <message id="generationStepLibraryPackages">
        <source>Add the Swift packages to the app target</source>
        <translation>Add the Swift packages to the app target</translation>
    </message>
    <message id="librariesThrough">
        <source>Libraries through</source>
        <translation>Libraries through</translation>
    </message>
    <message id="dependencyManagerCocoaPods">
        <source>CocoaPods</source>
        <translation>CocoaPods</translation>
    </message>
    <message id="dependencyManagerSwiftPackageManager">
        <source>Swift Package Manager</source>
        <translation>Swift Package Manager</translation>
    </message>
    <message id="dependencyManagerHint">
        <source>Libraries that publish a Swift package are added as package references; the rest stay pods.</source>
        <translation>Libraries that publish a Swift package are added as package references; the rest stay pods.</translation>
    </message>
    <message id="projectCreationFailed">
        <source>Project Setup Failed</source>
        <translation>Project Setup Failed</translation>
    </message>
    <message id="projectCreationFailedErrorMessage">
        <source>The project to open was not found at %1. Check the console output of the setup steps and try again.</source>
        <translation>The project to open was not found at %1. Check the console output of the setup steps and try again.</translation>
    </message>
    <message id="projectCouldNotBeOpened">
        <source>Project Could Not Be Opened</source>
        <translation>Project Could Not Be Opened</translation>
    </message>
    <message id="projectCouldNotBeOpenedMessage">
        <source>%1 is there, but no application could open it. Open it in Xcode yourself.</source>
        <translation>%1 is there, but no application could open it. Open it in Xcode yourself.</translation>
    </message>
    <message id="skippingIgnoreFile">
        <source>Skipping %1</source>
        <translation>Skipping %1</translation>
    </message>
    <message id="supplementalPodsUnavailable">
        <source>The library list could not be loaded; no further pods are offered. The pods below can still be changed.</source>
        <translation>The library list could not be loaded; no further pods are offered. The pods below can still be changed.</translation>
    </message>
    <message id="variantLabelNotIdentifier">
        <source>A variant name uses only letters, digits and “_”, and does not start with a digit.</source>
        <translation>A variant name uses only letters, digits and “_”, and does not start with a digit.</translation>
    </message>
    <message id="variantLabelReadsAsYamlValue">
        <source>YAML reads this name as true, false or null (like Yes, No, On, Off or Null, in any letter case).</source>
        <translation>YAML reads this name as true, false or null (like Yes, No, On, Off or Null, in any letter case).</translation>
    </message>
    <message id="variantLabelSwiftKeyword">
        <source>This name is a Swift keyword and cannot name a compilation condition.</source>
        <translation>This name is a Swift keyword and cannot name a compilation condition.</translation>
    </message>
    <message id="variantLabelDuplicate">
        <source>There is already a variant of this name.</source>
        <translation>There is already a variant of this name.</translation>
    </message>
    <message id="chooseDestinationFolder">
        <source>Choose the destination folder</source>
        <translation>Choose the destination folder</translation>
    </message>
    <message id="generationInProgress">
        <source>Setting up the project…</source>
        <translation>Setting up the project…</translation>
    </message>
    <message id="generationStepDone">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="generationStepFailed">
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message id="generationStepSkipped">
        <source>Skipped</source>
        <translation>Skipped</translation>
    </message>
    <message id="generationFailedNotice">
        <source>The step “%1” failed, so the pods were not installed. The console shows why. Finish closes Plinth.</source>
        <translation>The step “%1” failed, so the pods were not installed. The console shows why. Finish closes Plinth.</translation>
    </message>
    <message id="addItem">
        <source>Add %1</source>
        <translation>Add %1</translation>
    </message>
    <message id="removeItem">
        <source>Remove %1</source>
        <translation>Remove %1</translation>
    </message>
    <message id="showItems">
        <source>Show %1</source>
        <translation>Show %1</translation>
    </message>
    <message id="hideItems">
        <source>Hide %1</source>
        <translation>Hide %1</translation>
    </message>
    <message id="noFurtherSupplementalPods">
        <source>No further pods are offered.</source>
        <translation>No further pods are offered.</translation>
    </message>
    <message id="podfileUnreadable">
        <source>The Podfile cannot be read, so its pods are not shown and Plinth will not change it: %1</source>
        <translation>The Podfile cannot be read, so its pods are not shown and Plinth will not change it: %1</translation>
    </message>
    <message id="arkanaEnvironments">
        <source>Secrets for the environments: %1</source>
        <translation>Secrets for the environments: %1</translation>
    </message>
    <message id="uiKindNotDetected">
        <source>Plinth could not tell whether this is a SwiftUI or a UIKit app (no AppDelegate.swift or app file naming either). Choose its kind to see the modules:</source>
        <translation>Plinth could not tell whether this is a SwiftUI or a UIKit app (no AppDelegate.swift or app file naming either). Choose its kind to see the modules:</translation>
    </message>
    <message id="objectiveCProject">
        <source>This project is written in Objective-C. The modules are Swift: the app target needs Swift (and a bridging header) to use them. Choose its UI kind to see the modules:</source>
        <translation>This project is written in Objective-C. The modules are Swift: the app target needs Swift (and a bridging header) to use them. Choose its UI kind to see the modules:</translation>
    </message>
    <message id="podDeclaredOutsideTarget">
        <source>Declared outside this target's own block (shared with other targets): Plinth leaves its line in place.</source>
        <translation>Declared outside this target's own block (shared with other targets): Plinth leaves its line in place.</translation>
    </message>
    <message id="uncommittedChangesTitle">
        <source>Uncommitted changes</source>
        <translation>Uncommitted changes</translation>
    </message>
    <message id="uncommittedChangesMessage">
        <source>Git holds uncommitted changes in files this run would change:
%1

The run's changes would be mixed into them. Commit or stash them first, or continue anyway.</source>
        <translation>Git holds uncommitted changes in files this run would change:
%1

The run's changes would be mixed into them. Commit or stash them first, or continue anyway.</translation>
    </message>
    <message id="uncommittedChangesMore">
        <source>and %1 more</source>
        <translation>and %1 more</translation>
    </message>
    <message id="goBack">
        <source>Go back</source>
        <translation>Go back</translation>
    </message>
    <message id="continueAnyway">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="reviewPreparing">
        <source>Preparing a preview of the changes…</source>
        <translation>Preparing a preview of the changes…</translation>
    </message>
    <message id="reviewSummary">
        <source>%1 files will be added or changed. Select one to see its changes.</source>
        <translation>%1 files will be added or changed. Select one to see its changes.</translation>
    </message>
    <message id="reviewNoChanges">
        <source>No file of the project will change.</source>
        <translation>No file of the project will change.</translation>
    </message>
    <message id="reviewStepWouldFail">
        <source>A step would fail: %1</source>
        <translation>A step would fail: %1</translation>
    </message>
    <message id="reviewFiles">
        <source>Files</source>
        <translation>Files</translation>
    </message>
    <message id="reviewChanges">
        <source>Changes</source>
        <translation>Changes</translation>
    </message>
    <message id="reviewAdded">
        <source>%1 (new)</source>
        <translation>%1 (new)</translation>
    </message>
    <message id="apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="terminal">
        <source>Terminal</source>
        <translation>Terminal</translation>
    </message>
    <message id="itemAdded">
        <source>Added</source>
        <translation>Added</translation>
    </message>
    <message id="itemNotAdded">
        <source>Not added</source>
        <translation>Not added</translation>
    </message>
</context>
</TS>
