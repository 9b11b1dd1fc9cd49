#pragma once

#include <functional>

namespace plinth {

/// A two-way binding to a Boolean flag that another object owns: the flag
/// that presented a screen, handed to that screen so that its back button can
/// clear it. Reading and writing go to the owner; the screen flow reacts to
/// the owner's change signal (a flag turning false pops the screen it
/// presented).
struct FlagBinding
{
    std::function<bool()> get;
    std::function<void(bool)> set;

    bool value() const { return get ? get() : false; }
    /// Flips the owner's flag; the back buttons do this.
    void toggle() const
    {
        if (set)
            set(!value());
    }
};

} // namespace plinth
