#pragma once

// The keys of the "Localizable" text catalog. Code names a user-visible text
// only by one of these keys (key::next, key::swiftUi, ...); the texts
// themselves live in resources/translations. Keys marked with a trailing
// comment take one argument, inserted with text(key, argument).
#define PLINTH_TEXT_KEYS(X)                                                                        \
    X(projectTypeSelectionViewTitle)                                                               \
    X(newProject)                                                                                  \
    X(existingProject)                                                                             \
    X(next)                                                                                        \
    X(previous)                                                                                    \
    X(cancel)                                                                                      \
    X(add)                                                                                         \
    X(create)                                                                                      \
    X(finish)                                                                                      \
    X(checkForDependencies)                                                                        \
    X(installingDependencies)                                                                      \
    X(dependenciesNotFound)                                                                        \
    X(dependenciesExistAndReadyToProceed)                                                          \
    X(brewExistenceCheckScriptNotFound)                                                            \
    X(output)                                                                                      \
    X(productName)                                                                                 \
    X(organisationsName)                                                                           \
    X(authorName)                                                                                  \
    X(bundleIdentifier)                                                                            \
    X(projectNameInitialSmallCaseFound)                                                            \
    X(projectNameInitialDigitFound)                                                                \
    X(projectNameContainsSpecialCharacter)                                                         \
    X(projectNameContainsSpace)                                                                    \
    X(projectNameReadsAsYamlValue)                                                                 \
    X(projectNameSwiftKeyword)                                                                     \
    X(projectNameImportedModule)                                                                   \
    X(projectNameProjectRootEntry)                                                                 \
    X(interface)                                                                                   \
    X(swiftUi)                                                                                     \
    X(uiKit)                                                                                       \
    X(deploymentTarget)                                                                            \
    X(deploymentTarget16_0)                                                                        \
    X(deploymentTarget17_0)                                                                        \
    X(deploymentTarget18_0)                                                                        \
    X(destinations)                                                                                \
    X(configVariants)                                                                              \
    X(otherConfigurations)                                                                         \
    X(variantDevelopment)                                                                          \
    X(variantUAT)                                                                                  \
    X(variantStaging)                                                                              \
    X(variantProduction)                                                                           \
    X(awss3)                                                                                       \
    X(ble)                                                                                         \
    X(addVariantTitle)                                                                             \
    X(addVariantPlaceHolder)                                                                       \
    X(selectDevelopmentSchemeTitle)                                                                \
    X(selectDevelopmentSchemeSubTitle)                                                             \
    X(noConfigVariantSelectionTitle)                                                               \
    X(noConfigVariantSelectionSubTitle)                                                            \
    X(inValidPath)                                                                                 \
    X(directoryAlreadyExistTitle)                                                                  \
    X(directoryAlreadyExistSubTitle) /* 1 argument */                                              \
    X(directoryCreationFailureTitle)                                                               \
    X(directoryCreationFailureSubTitle) /* 1 argument */                                           \
    X(presetAndSelectedPodsTitle)                                                                  \
    X(supplementalPodsTitle)                                                                       \
    X(parsingHTMLContentFailure) /* 1 argument */                                                  \
    X(itemExtractFailure) /* 1 argument */                                                         \
    X(couldNotExtractDetailsOfSupplementalPods) /* 1 argument */                                   \
    X(htmlContentRetriveFailure) /* 1 argument */                                                  \
    X(descriptionNotFoundForPod) /* 1 argument */                                                  \
    X(selectedModulesTitle)                                                                        \
    X(supplementalModulesTitle)                                                                    \
    X(askForArkanaIntegration)                                                                     \
    X(generationStepProjectRoot)                                                               \
    X(generationStepTargetDirectories)                                                         \
    X(generationStepXcodeGenSpecification)                                                     \
    X(generationStepTemplateCopy)                                                              \
    X(generationStepXcodeGen)                                                                  \
    X(generationStepPostGeneration)                                                            \
    X(generationStepInstantiation)                                                             \
    X(generationStepArkanaFiles)                                                               \
    X(generationStepModuleCopy) /* 1 argument */                                               \
    X(generationStepModuleTarget) /* 1 argument */                                             \
    X(generationStepPodInstallation)                                                               \
    X(generationStepLibraryPackages)                                                               \
    X(librariesThrough)                                                                            \
    X(dependencyManagerCocoaPods)                                                                  \
    X(dependencyManagerSwiftPackageManager)                                                        \
    X(dependencyManagerHint)                                                                       \
    X(supplementalPodsUnavailable)                                                                 \
    X(variantLabelNotIdentifier)                                                                   \
    X(variantLabelReadsAsYamlValue)                                                                \
    X(variantLabelSwiftKeyword)                                                                    \
    X(variantLabelDuplicate)                                                                       \
    X(chooseDestinationFolder)                                                                     \
    X(generationInProgress)                                                                        \
    X(generationStepDone)                                                                          \
    X(generationStepFailed)                                                                        \
    X(generationStepSkipped)                                                                       \
    X(generationFailedNotice) /* 1 argument */                                                     \
    X(addItem) /* 1 argument */                                                                    \
    X(removeItem) /* 1 argument */                                                                 \
    X(showItems) /* 1 argument */                                                                  \
    X(hideItems) /* 1 argument */                                                                  \
    X(noFurtherSupplementalPods)                                                                   \
    X(projectCreationFailed)                                                                       \
    X(projectCreationFailedErrorMessage) /* 1 argument */                                          \
    X(projectCouldNotBeOpened)                                                                     \
    X(projectCouldNotBeOpenedMessage) /* 1 argument */                                             \
    X(skippingIgnoreFile) /* 1 argument */                                                         \
    X(podfileUnreadable) /* 1 argument */                                                          \
    X(arkanaEnvironments) /* 1 argument */                                                         \
    X(uiKindNotDetected)                                                                           \
    X(objectiveCProject)                                                                           \
    X(podDeclaredOutsideTarget)                                                                    \
    X(uncommittedChangesTitle)                                                                     \
    X(uncommittedChangesMessage) /* 1 argument */                                                  \
    X(uncommittedChangesMore) /* 1 argument */                                                     \
    X(goBack)                                                                                      \
    X(continueAnyway)                                                                              \
    X(reviewPreparing)                                                                             \
    X(reviewSummary) /* 1 argument */                                                              \
    X(reviewNoChanges)                                                                             \
    X(reviewStepWouldFail) /* 1 argument */                                                        \
    X(reviewFiles)                                                                                 \
    X(reviewChanges)                                                                               \
    X(reviewAdded) /* 1 argument */                                                                \
    X(apply)                                                                                       \
    X(close)                                                                                       \
    X(terminal)                                                                                    \
    X(itemAdded)                                                                                   \
    X(itemNotAdded)

namespace plinth::key {
#define PLINTH_DECLARE_TEXT_KEY(name) inline constexpr char name[] = #name;
PLINTH_TEXT_KEYS(PLINTH_DECLARE_TEXT_KEY)
#undef PLINTH_DECLARE_TEXT_KEY
} // namespace plinth::key
