#include "generation/GenerationStep.h"

#include "app/base/TextCatalog.h"

namespace plinth {

QString GenerationStep::title() const
{
    switch (kind) {
    case GenerationStepKind::projectRoot: return text(key::generationStepProjectRoot);
    case GenerationStepKind::targetDirectories: return text(key::generationStepTargetDirectories);
    case GenerationStepKind::xcodeGenSpecification: return text(key::generationStepXcodeGenSpecification);
    case GenerationStepKind::templateCopy: return text(key::generationStepTemplateCopy);
    case GenerationStepKind::xcodeGen: return text(key::generationStepXcodeGen);
    case GenerationStepKind::postGeneration: return text(key::generationStepPostGeneration);
    case GenerationStepKind::instantiation: return text(key::generationStepInstantiation);
    case GenerationStepKind::arkanaFiles: return text(key::generationStepArkanaFiles);
    case GenerationStepKind::moduleCopy: return text(key::generationStepModuleCopy, subject);
    case GenerationStepKind::moduleTarget: return text(key::generationStepModuleTarget, subject);
    case GenerationStepKind::libraryPackages: return text(key::generationStepLibraryPackages);
    case GenerationStepKind::podInstallation: return text(key::generationStepPodInstallation);
    }
    return {};
}

} // namespace plinth
