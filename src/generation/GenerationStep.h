#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <functional>

namespace plinth {

/// The steps of a generation run that the generation screen lists.
enum class GenerationStepKind {
    projectRoot,           ///< create the project folder
    targetDirectories,     ///< create the app, unit test and UI test folders
    xcodeGenSpecification, ///< write project.yml
    templateCopy,          ///< copy the template into the project
    xcodeGen,              ///< run XcodeGen
    postGeneration,        ///< write the Podfile (post_gen.sh)
    instantiation,         ///< rename and rewrite the files for the product name
    arkanaFiles,           ///< bring the Arkana files into an existing project
    moduleCopy,            ///< copy one module (subject: its title)
    moduleTarget,          ///< add one module to the app target (subject: its title)
    libraryPackages,       ///< link the libraries' Swift packages to an existing project's app target
    podInstallation,       ///< install the pods (PodInstall.sh) in the foreground
};

/// What became of one step: it worked, it failed (with the console line that
/// says why), or it did not run because an earlier step failed or the user
/// did not ask for it.
struct GenerationStep
{
    enum class Outcome { done, failed, skipped };

    GenerationStepKind kind = GenerationStepKind::projectRoot;
    QString subject; ///< the module's title for the module steps, else empty
    Outcome outcome = Outcome::done;
    QString detail;  ///< for a failed or skipped step: the console line(s) saying why

    /// The step's title for the screen, from the text catalog.
    QString title() const;

    friend bool operator==(const GenerationStep &, const GenerationStep &) = default;
};

/// Receives each step's record as the step ends, on the thread of the run.
using StepRecorder = std::function<void(const GenerationStep &)>;

} // namespace plinth

Q_DECLARE_METATYPE(plinth::GenerationStep)
