#pragma once

#include <QString>
#include <QUuid>

#include <array>

namespace plinth {

enum class ResourceScript;

/// The six developer tools that project generation needs.
enum class PreRequisite { xcodeBuild, commandLineTool, homeBrew, cocoaPods, xcodegen, xcodeProj };

inline constexpr std::array allPreRequisites{PreRequisite::xcodeBuild, PreRequisite::commandLineTool,
                                             PreRequisite::homeBrew,   PreRequisite::cocoaPods,
                                             PreRequisite::xcodegen,   PreRequisite::xcodeProj};

/// The name shown in the tool's row; results find their row by it.
QString displayName(PreRequisite tool);
/// The shipped Ruby script that tells whether the tool is installed.
ResourceScript validationScript(PreRequisite tool);
/// The shell probe that prints the tool's path when it is on the search path.
QString probeCommand(PreRequisite tool);

/// One row of the prerequisite list.
struct PreRequisiteSetUpModel
{
    QUuid id = QUuid::createUuid();
    PreRequisite preRequisite = PreRequisite::xcodeBuild;
    bool dependencyExists = false;

    friend bool operator==(const PreRequisiteSetUpModel &, const PreRequisiteSetUpModel &) = default;
};

} // namespace plinth
