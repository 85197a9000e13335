#pragma once

#include <QString>
#include <QStringList>

namespace trelvanox {

// Where the help that "Помощь", "?" and F1 open comes from, in this order of preference: the
// compiled help file "HelpTrelvanox.chm" in the current folder, when the desktop has a viewer
// for it; otherwise the program's own manual (docs/manual/index.html in the source tree, a
// "manual" folder beside the executable or the installed share folder), shown in the
// desktop's browser; otherwise a short text in the program's own viewer, so that help always
// shows something.
enum class THelpSource { HelpFile, Manual, BuiltIn };

struct THelpTarget {
    THelpSource Source = THelpSource::BuiltIn;
    QString Path;  // the help file or the manual's index.html; empty for BuiltIn
};

// What the choice depends on; DefaultHelpPlaces() reads it from this system, tests give it.
struct THelpPlaces {
    QString CurrentFolder;
    bool HelpFileViewer = false;  // whether the desktop can show a compiled help file
    QStringList ManualFolders;    // folders that may hold the manual's index.html, in order
};

THelpTarget ResolveHelp(const THelpPlaces& places);

// The manual's section for a window of the program, by the window's object name ("FmOptions",
// ...); empty (the top of the manual) for the main window and any other.
QString HelpSection(const QString& windowName);

// The folders where a program in programFolder finds its manual: "manual" beside it, then the
// installed share folder (share/trelvanox/manual beside its bin folder).
QStringList ProgramManualFolders(const QString& programFolder);

// The current folder, whether a viewer for compiled help is registered, and the manual
// folders: the program's own, then the source tree's docs/manual (for a program run from its
// build folder).
THelpPlaces DefaultHelpPlaces();

}  // namespace trelvanox
