#pragma once

namespace plinth {

/// The flow chosen on the home screen; `none` until a choice is made.
/// (`new_` carries a trailing underscore because `new` is a C++ keyword.)
enum class ProjectType { existing, new_, none };

/// The UI kind a catalog entry belongs to.
enum class UIInterface { swiftUi, UIKit, preset, none, both };

/// Where a pod entry comes from.
enum class PodType { preset, supplemental, userSelected };

} // namespace plinth
