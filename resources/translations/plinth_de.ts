<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message id="projectTypeSelectionViewTitle">
        <source>What would you like to set up?</source>
        <translation>Was möchten Sie einrichten?</translation>
    </message>
    <message id="newProject">
        <source>New Project</source>
        <translation>Neues Projekt</translation>
    </message>
    <message id="existingProject">
        <source>Existing Project</source>
        <translation>Bestehendes Projekt</translation>
    </message>
    <message id="next">
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message id="previous">
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="add">
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message id="create">
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message id="finish">
        <source>Finish</source>
        <translation>Fertigstellen</translation>
    </message>
    <message id="checkForDependencies">
        <source>Checking for required tools…</source>
        <translation>Erforderliche Werkzeuge werden geprüft …</translation>
    </message>
    <message id="installingDependencies">
        <source>Install the missing tools</source>
        <translation>Fehlende Werkzeuge installieren</translation>
    </message>
    <message id="dependenciesNotFound">
        <source>Some required tools are missing.</source>
        <translation>Einige erforderliche Werkzeuge fehlen.</translation>
    </message>
    <message id="dependenciesExistAndReadyToProceed">
        <source>All required tools are installed. You are ready to proceed.</source>
        <translation>Alle erforderlichen Werkzeuge sind installiert. Sie können fortfahren.</translation>
    </message>
    <message id="brewExistenceCheckScriptNotFound">
        <source>A tool check script is missing from the application's resources.</source>
        <translation>Ein Prüfskript für Werkzeuge fehlt in den Ressourcen der Anwendung.</translation>
    </message>
    <message id="output">
        <source>output</source>
        <translation>output</translation>
    </message>
    <message id="productName">
        <source>Product Name</source>
        <translation>Produktname</translation>
    </message>
    <message id="organisationsName">
        <source>Organisation Name</source>
        <translation>Organisationsname</translation>
    </message>
    <message id="authorName">
        <source>Author Name</source>
        <translation>Name des Autors</translation>
    </message>
    <message id="bundleIdentifier">
        <source>Bundle Identifier</source>
        <translation>Bundle-Kennung</translation>
    </message>
    <message id="projectNameInitialSmallCaseFound">
        <source>The product name must start with a capital letter.</source>
        <translation>Der Produktname muss mit einem Großbuchstaben beginnen.</translation>
    </message>
    <message id="projectNameInitialDigitFound">
        <source>The product name must not start with a digit.</source>
        <translation>Der Produktname darf nicht mit einer Ziffer beginnen.</translation>
    </message>
    <message id="projectNameContainsSpecialCharacter">
        <source>The product name may contain only letters and digits.</source>
        <translation>Der Produktname darf nur Buchstaben und Ziffern enthalten.</translation>
    </message>
    <message id="projectNameContainsSpace">
        <source>The product name must not contain spaces.</source>
        <translation>Der Produktname darf keine Leerzeichen enthalten.</translation>
    </message>
    <message id="projectNameReadsAsYamlValue">
        <source>The product name must not be a word that YAML reads as true, false or null (Y, N, Yes, No, On, Off, True, False, Null).</source>
        <translation>Der Produktname darf kein Wort sein, das YAML als true, false oder null liest (Y, N, Yes, No, On, Off, True, False, Null).</translation>
    </message>
    <message id="projectNameSwiftKeyword">
        <source>The product name must not be a Swift keyword (Any, Self, Type, Protocol).</source>
        <translation>Der Produktname darf kein Swift-Schlüsselwort sein (Any, Self, Type, Protocol).</translation>
    </message>
    <message id="projectNameImportedModule">
        <source>The product name must not be the name of a module the app imports (such as SwiftUI, UIKit or Foundation).</source>
        <translation>Der Produktname darf nicht der Name eines Moduls sein, das die App importiert (etwa SwiftUI, UIKit oder Foundation).</translation>
    </message>
    <message id="projectNameProjectRootEntry">
        <source>The product name must not name a file or folder of the project folder (Pods, Podfile, Gemfile, Dependencies, vendor, fastlane), in any letter case.</source>
        <translation>Der Produktname darf keine Datei und keinen Ordner des Projektordners benennen (Pods, Podfile, Gemfile, Dependencies, vendor, fastlane), gleich in welcher Schreibweise.</translation>
    </message>
    <message id="interface">
        <source>Interface</source>
        <translation>Oberfläche</translation>
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
        <translation>Mindestversion (Deployment Target)</translation>
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
        <translation>Zielordner</translation>
    </message>
    <message id="configVariants">
        <source>Configuration Variants</source>
        <translation>Konfigurationsvarianten</translation>
    </message>
    <message id="otherConfigurations">
        <source>Other Configurations</source>
        <translation>Weitere Konfigurationen</translation>
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
        <translation>Konfigurationsvariante hinzufügen</translation>
    </message>
    <message id="addVariantPlaceHolder">
        <source>Variant name</source>
        <translation>Name der Variante</translation>
    </message>
    <message id="selectDevelopmentSchemeTitle">
        <source>No Development Scheme</source>
        <translation>Kein Entwicklungsschema</translation>
    </message>
    <message id="selectDevelopmentSchemeSubTitle">
        <source>Choose which configuration variant serves as the development scheme.</source>
        <translation>Wählen Sie, welche Konfigurationsvariante als Entwicklungsschema dient.</translation>
    </message>
    <message id="noConfigVariantSelectionTitle">
        <source>No Configuration Variant</source>
        <translation>Keine Konfigurationsvariante</translation>
    </message>
    <message id="noConfigVariantSelectionSubTitle">
        <source>Select at least one configuration variant.</source>
        <translation>Wählen Sie mindestens eine Konfigurationsvariante aus.</translation>
    </message>
    <message id="inValidPath">
        <source>The destination folder does not exist or cannot be used.</source>
        <translation>Der Zielordner existiert nicht oder kann nicht verwendet werden.</translation>
    </message>
    <message id="directoryAlreadyExistTitle">
        <source>Folder Already Exists</source>
        <translation>Ordner existiert bereits</translation>
    </message>
    <message id="directoryAlreadyExistSubTitle">
        <source>“%1” already exists. Choose another product name or destination.</source>
        <translation>„%1“ gibt es bereits. Wählen Sie einen anderen Produktnamen oder Zielordner.</translation>
    </message>
    <message id="directoryCreationFailureTitle">
        <source>Folder Could Not Be Created</source>
        <translation>Ordner konnte nicht erstellt werden</translation>
    </message>
    <message id="directoryCreationFailureSubTitle">
        <source>The project folder could not be created: %1</source>
        <translation>Der Projektordner konnte nicht erstellt werden: %1</translation>
    </message>
    <message id="presetAndSelectedPodsTitle">
        <source>Pods in Your Project</source>
        <translation>Pods in Ihrem Projekt</translation>
    </message>
    <message id="supplementalPodsTitle">
        <source>More Pods</source>
        <translation>Weitere Pods</translation>
    </message>
    <message id="parsingHTMLContentFailure">
        <source>The library list could not be read: %1</source>
        <translation>Die Bibliotheksliste konnte nicht gelesen werden: %1</translation>
    </message>
    <message id="itemExtractFailure">
        <source>A library entry could not be read: %1</source>
        <translation>Ein Bibliothekseintrag konnte nicht gelesen werden: %1</translation>
    </message>
    <message id="couldNotExtractDetailsOfSupplementalPods">
        <source>No library details were found in: %1</source>
        <translation>Keine Bibliotheksdetails gefunden in: %1</translation>
    </message>
    <message id="htmlContentRetriveFailure">
        <source>The library list could not be downloaded: %1</source>
        <translation>Die Bibliotheksliste konnte nicht geladen werden: %1</translation>
    </message>
    <message id="descriptionNotFoundForPod">
        <source>No description available for %1.</source>
        <translation>Keine Beschreibung für %1 verfügbar.</translation>
    </message>
    <message id="selectedModulesTitle">
        <source>Selected Modules</source>
        <translation>Ausgewählte Module</translation>
    </message>
    <message id="supplementalModulesTitle">
        <source>More Modules</source>
        <translation>Weitere Module</translation>
    </message>
    <message id="askForArkanaIntegration">
        <source>Integrate Arkana to keep API keys and secrets out of source control?</source>
        <translation>API-Schlüssel und Geheimnisse mit Arkana aus der Versionskontrolle heraushalten?</translation>
    </message>
    <message id="generationStepProjectRoot">
        <source>Create the project folder</source>
        <translation>Projektordner anlegen</translation>
    </message>
    <message id="generationStepTargetDirectories">
        <source>Create the target folders</source>
        <translation>Zielordner anlegen</translation>
    </message>
    <message id="generationStepXcodeGenSpecification">
        <source>Write project.yml</source>
        <translation>project.yml schreiben</translation>
    </message>
    <message id="generationStepTemplateCopy">
        <source>Copy the template</source>
        <translation>Vorlage kopieren</translation>
    </message>
    <message id="generationStepXcodeGen">
        <source>Generate the Xcode project</source>
        <translation>Xcode-Projekt erzeugen</translation>
    </message>
    <message id="generationStepPostGeneration">
        <source>Write the Podfile</source>
        <translation>Podfile schreiben</translation>
    </message>
    <message id="generationStepInstantiation">
        <source>Adapt the files to the product name</source>
        <translation>Dateien an den Produktnamen anpassen</translation>
    </message>
    <message id="generationStepArkanaFiles">
        <source>Add the Arkana secrets files</source>
        <translation>Arkana-Dateien hinzufügen</translation>
    </message>
    <message id="generationStepModuleCopy">
        <source>Copy the module %1</source>
        <translation>Modul %1 kopieren</translation>
    </message>
    <message id="generationStepModuleTarget">
        <source>Add the module %1 to the app target</source>
        <translation>Modul %1 zum App-Target hinzufügen</translation>
    </message>
    <message id="generationStepPodInstallation">
        <source>Install the pods</source>
        <translation>Pods installieren</translation>
    </message>
    <message id="generationStepLibraryPackages">
        <source>Add the Swift packages to the app target</source>
        <translation>Swift-Pakete zum App-Target hinzufügen</translation>
    </message>
    <message id="librariesThrough">
        <source>Libraries through</source>
        <translation>Bibliotheken über</translation>
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
        <translation>Bibliotheken, die ein Swift-Paket veröffentlichen, werden als Paketverweise hinzugefügt; die übrigen bleiben Pods.</translation>
    </message>
    <message id="projectCreationFailed">
        <source>Project Setup Failed</source>
        <translation>Projekteinrichtung fehlgeschlagen</translation>
    </message>
    <message id="projectCreationFailedErrorMessage">
        <source>The project to open was not found at %1. Check the console output of the setup steps and try again.</source>
        <translation>Das zu öffnende Projekt wurde unter %1 nicht gefunden. Prüfen Sie die Konsolenausgabe der Einrichtungsschritte und versuchen Sie es erneut.</translation>
    </message>
    <message id="projectCouldNotBeOpened">
        <source>Project Could Not Be Opened</source>
        <translation>Projekt konnte nicht geöffnet werden</translation>
    </message>
    <message id="projectCouldNotBeOpenedMessage">
        <source>%1 is there, but no application could open it. Open it in Xcode yourself.</source>
        <translation>%1 ist vorhanden, aber kein Programm konnte es öffnen. Öffnen Sie es selbst in Xcode.</translation>
    </message>
    <message id="skippingIgnoreFile">
        <source>Skipping %1</source>
        <translation>Überspringe %1</translation>
    </message>
    <message id="supplementalPodsUnavailable">
        <source>The library list could not be loaded; no further pods are offered. The pods below can still be changed.</source>
        <translation>Die Bibliotheksliste konnte nicht geladen werden; es werden keine weiteren Pods angeboten. Die Pods unten lassen sich weiterhin ändern.</translation>
    </message>
    <message id="variantLabelNotIdentifier">
        <source>A variant name uses only letters, digits and “_”, and does not start with a digit.</source>
        <translation>Ein Variantenname besteht nur aus Buchstaben, Ziffern und „_“ und beginnt nicht mit einer Ziffer.</translation>
    </message>
    <message id="variantLabelReadsAsYamlValue">
        <source>YAML reads this name as true, false or null (like Yes, No, On, Off or Null, in any letter case).</source>
        <translation>YAML liest diesen Namen als true, false oder null (wie Yes, No, On, Off oder Null, in jeder Schreibweise).</translation>
    </message>
    <message id="variantLabelSwiftKeyword">
        <source>This name is a Swift keyword and cannot name a compilation condition.</source>
        <translation>Dieser Name ist ein Swift-Schlüsselwort und kann keine Kompilierbedingung benennen.</translation>
    </message>
    <message id="variantLabelDuplicate">
        <source>There is already a variant of this name.</source>
        <translation>Es gibt bereits eine Variante mit diesem Namen.</translation>
    </message>
    <message id="chooseDestinationFolder">
        <source>Choose the destination folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message id="generationInProgress">
        <source>Setting up the project…</source>
        <translation>Das Projekt wird eingerichtet …</translation>
    </message>
    <message id="generationStepDone">
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message id="generationStepFailed">
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message id="generationStepSkipped">
        <source>Skipped</source>
        <translation>Übersprungen</translation>
    </message>
    <message id="generationFailedNotice">
        <source>The step “%1” failed, so the pods were not installed. The console shows why. Finish closes Plinth.</source>
        <translation>Der Schritt „%1“ ist fehlgeschlagen, daher wurden die Pods nicht installiert. Die Konsole zeigt den Grund. „Fertigstellen“ beendet Plinth.</translation>
    </message>
    <message id="addItem">
        <source>Add %1</source>
        <translation>%1 hinzufügen</translation>
    </message>
    <message id="removeItem">
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message id="showItems">
        <source>Show %1</source>
        <translation>%1 einblenden</translation>
    </message>
    <message id="hideItems">
        <source>Hide %1</source>
        <translation>%1 ausblenden</translation>
    </message>
    <message id="noFurtherSupplementalPods">
        <source>No further pods are offered.</source>
        <translation>Es werden keine weiteren Pods angeboten.</translation>
    </message>
    <message id="podfileUnreadable">
        <source>The Podfile cannot be read, so its pods are not shown and Plinth will not change it: %1</source>
        <translation>Das Podfile kann nicht gelesen werden; seine Pods werden nicht angezeigt, und Plinth ändert es nicht: %1</translation>
    </message>
    <message id="arkanaEnvironments">
        <source>Secrets for the environments: %1</source>
        <translation>Secrets für die Umgebungen: %1</translation>
    </message>
    <message id="uiKindNotDetected">
        <source>Plinth could not tell whether this is a SwiftUI or a UIKit app (no AppDelegate.swift or app file naming either). Choose its kind to see the modules:</source>
        <translation>Plinth konnte nicht erkennen, ob dies eine SwiftUI- oder eine UIKit-App ist (keine AppDelegate.swift und keine App-Datei, die eines davon nennt). Wählen Sie die Art, um die Module zu sehen:</translation>
    </message>
    <message id="objectiveCProject">
        <source>This project is written in Objective-C. The modules are Swift: the app target needs Swift (and a bridging header) to use them. Choose its UI kind to see the modules:</source>
        <translation>Dieses Projekt ist in Objective-C geschrieben. Die Module sind Swift: Das App-Target braucht Swift (und einen Bridging-Header), um sie zu nutzen. Wählen Sie die UI-Art, um die Module zu sehen:</translation>
    </message>
    <message id="podDeclaredOutsideTarget">
        <source>Declared outside this target's own block (shared with other targets): Plinth leaves its line in place.</source>
        <translation>Außerhalb des eigenen Blocks dieses Targets deklariert (mit anderen Targets geteilt): Plinth lässt seine Zeile stehen.</translation>
    </message>
    <message id="uncommittedChangesTitle">
        <source>Uncommitted changes</source>
        <translation>Nicht committete Änderungen</translation>
    </message>
    <message id="uncommittedChangesMessage">
        <source>Git holds uncommitted changes in files this run would change:
%1

The run's changes would be mixed into them. Commit or stash them first, or continue anyway.</source>
        <translation>Git hat nicht committete Änderungen in Dateien, die dieser Lauf ändern würde:
%1

Die Änderungen des Laufs würden sich mit ihnen vermischen. Committen oder stashen Sie sie zuerst, oder fahren Sie trotzdem fort.</translation>
    </message>
    <message id="uncommittedChangesMore">
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message id="goBack">
        <source>Go back</source>
        <translation>Zurück</translation>
    </message>
    <message id="continueAnyway">
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message id="reviewPreparing">
        <source>Preparing a preview of the changes…</source>
        <translation>Eine Vorschau der Änderungen wird vorbereitet …</translation>
    </message>
    <message id="reviewSummary">
        <source>%1 files will be added or changed. Select one to see its changes.</source>
        <translation>%1 Dateien werden hinzugefügt oder geändert. Wählen Sie eine aus, um ihre Änderungen zu sehen.</translation>
    </message>
    <message id="reviewNoChanges">
        <source>No file of the project will change.</source>
        <translation>Keine Datei des Projekts wird geändert.</translation>
    </message>
    <message id="reviewStepWouldFail">
        <source>A step would fail: %1</source>
        <translation>Ein Schritt würde fehlschlagen: %1</translation>
    </message>
    <message id="reviewFiles">
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message id="reviewChanges">
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message id="reviewAdded">
        <source>%1 (new)</source>
        <translation>%1 (neu)</translation>
    </message>
    <message id="apply">
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="terminal">
        <source>Terminal</source>
        <translation>Terminal</translation>
    </message>
    <message id="itemAdded">
        <source>Added</source>
        <translation>Hinzugefügt</translation>
    </message>
    <message id="itemNotAdded">
        <source>Not added</source>
        <translation>Nicht hinzugefügt</translation>
    </message>
</context>
</TS>
