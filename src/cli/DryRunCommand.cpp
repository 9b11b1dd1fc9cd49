#include "cli/DryRunCommand.h"

#include "cli/CliOutput.h"
#include "cli/GenerateCommand.h"
#include "generation/RunPreview.h"

#include <QtConcurrent>

#include <cstdio>

namespace plinth {

int previewGeneration(const ProjectDetailsModel &details, const CliContext &context)
{
    // The run blocks on the toolchain, so it never runs on the main thread.
    const RunPreview preview =
        QtConcurrent::run([&] { return previewRun(details, context.bundle, *context.runner); }).result();
    if (!preview.problem.isEmpty()) {
        printErrorLine(QStringLiteral("plinth-cli: ") + preview.problem);
        return GenerateCommand::stepFailed;
    }
    const bool existing = details.projectType != ProjectType::new_;
    printLine((existing ? QStringLiteral("Dry run, nothing written: adding to ")
                        : QStringLiteral("Dry run, nothing written: would make "))
              + details.projectRoot());
    for (const PreviewedFile &file : preview.files) {
        if (!existing)
            printLine(QStringLiteral("  ") + file.path);
        else if (file.added)
            printLine(QStringLiteral("Would add: %1 (+%2)").arg(file.path).arg(file.addedLines));
        else
            printLine(QStringLiteral("Would change: %1 (+%2 -%3)")
                          .arg(file.path)
                          .arg(file.addedLines)
                          .arg(file.removedLines));
    }
    if (existing && preview.files.isEmpty())
        printLine(QStringLiteral("No file would change."));
    for (const PreviewedFile &file : preview.files) {
        if (!file.diff.isEmpty())
            std::fputs(file.diff.toUtf8().constData(), stdout);
    }
    if (preview.stepsSucceeded())
        return GenerateCommand::succeeded;
    for (const GenerationStep &step : preview.steps) {
        if (step.outcome == GenerationStep::Outcome::failed) {
            for (const QString &line : GenerateCommand::stepLines(step))
                printErrorLine(line);
        }
    }
    return GenerateCommand::stepFailed;
}

} // namespace plinth
