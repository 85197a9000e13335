#pragma once

#include <QVariant>
#include <QWidget>

namespace trelvanox {

// The program carries the values of the windows' named controls into the next run. A control
// whose state is a mode of the moment (what the mouse does in the view) or belongs to something
// kept elsewhere is marked, with all the controls inside it, to start as made at every run.

inline constexpr char kNotRememberedProperty[] = "trelvanoxNotRemembered";

inline void MarkNotRemembered(QWidget& control) {
    control.setProperty(kNotRememberedProperty, true);
}

// Whether control, inside window, carries its value into the next run.
inline bool IsRemembered(const QWidget& control, const QWidget& window) {
    for (const QWidget* widget = &control; widget && widget != &window;
         widget = widget->parentWidget())
        if (widget->property(kNotRememberedProperty).toBool()) return false;
    return true;
}

}  // namespace trelvanox
