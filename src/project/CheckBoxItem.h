#pragma once

#include <QString>

namespace plinth {

/// A labelled check box: a configuration variant on the build settings screen.
struct CheckBoxItem
{
    QString label;
    bool isChecked = false;

    friend bool operator==(const CheckBoxItem &, const CheckBoxItem &) = default;
};

} // namespace plinth
