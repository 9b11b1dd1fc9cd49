#include "toolchain/PreRequisite.h"

#include "toolchain/ResourceScript.h"

namespace plinth {

QString displayName(PreRequisite tool)
{
    switch (tool) {
    case PreRequisite::xcodeBuild:
        return QStringLiteral("Xcode build");
    case PreRequisite::commandLineTool:
        return QStringLiteral("Command line tools");
    case PreRequisite::homeBrew:
        return QStringLiteral("Homebrew");
    case PreRequisite::cocoaPods:
        return QStringLiteral("Cocoapods");
    case PreRequisite::xcodegen:
        return QStringLiteral("Xcodegen");
    case PreRequisite::xcodeProj:
        return QStringLiteral("XcodeProj");
    }
    return {};
}

ResourceScript validationScript(PreRequisite tool)
{
    switch (tool) {
    case PreRequisite::xcodeBuild:
        return ResourceScript::validateXcodeBuild;
    case PreRequisite::commandLineTool:
        return ResourceScript::validateCommandLineTool;
    case PreRequisite::homeBrew:
        return ResourceScript::validateHomeBrew;
    case PreRequisite::cocoaPods:
        return ResourceScript::validateCocoaPods;
    case PreRequisite::xcodegen:
        return ResourceScript::validateXcodeGen;
    case PreRequisite::xcodeProj:
        return ResourceScript::validateXcodeProj;
    }
    return ResourceScript::validateXcodeBuild;
}

QString probeCommand(PreRequisite tool)
{
    switch (tool) {
    case PreRequisite::xcodeBuild:
        return QStringLiteral("command -v xcodebuild");
    case PreRequisite::commandLineTool:
        return QStringLiteral("command -v xcode-select");
    case PreRequisite::homeBrew:
        return QStringLiteral("command -v brew");
    case PreRequisite::cocoaPods:
        return QStringLiteral("command -v pod");
    case PreRequisite::xcodegen:
        return QStringLiteral("command -v xcodegen");
    case PreRequisite::xcodeProj:
        // The gem as the scripts will load it: with the first Ruby on the
        // toolchain search path (an xcodeproj program of another Ruby would
        // pass a check that the module script then fails).
        return QStringLiteral("ruby -e 'require \"xcodeproj\"' >/dev/null 2>&1 && command -v ruby");
    }
    return {};
}

} // namespace plinth
