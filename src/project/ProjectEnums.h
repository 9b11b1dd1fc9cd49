#pragma once

namespace plinth {

/// The flow chosen on the home screen; `none` until a choice is made.
/// (`new_` carries a trailing underscore because `new` is a C++ keyword.)
enum class ProjectType { existing, new_, none };

/// The UI kind a catalog entry belongs to.
enum class UIInterface { swiftUi, UIKit, preset, none, both };

/// How the project gets its libraries: pods through CocoaPods, or Swift
/// packages wherever a library publishes one (the rest stay pods).
enum class DependencyManager { cocoaPods, swiftPackageManager };

/// Where a pod entry comes from.
enum class PodType { preset, supplemental, userSelected };

} // namespace plinth
