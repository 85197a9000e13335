#pragma once

class QLineEdit;
class QWidget;

namespace trelvanox {

class TDocumentUse;
class TPlatform;
class TRadargramDocument;
struct TSettings;

// What the command handlers that read, change or write the radargram work with: the open
// document, the platform layer through which they ask and tell the user, the window their
// messages belong to, the settings (the layout of every read and write among them) and the field
// that names the file every read and write goes to, and whether a long operation's worker is in
// the document. The main window owns all of them and outlives every handler.
struct TDocumentContext {
    TRadargramDocument& Document;
    TPlatform& Platform;
    QWidget& Owner;
    TSettings& Settings;
    QLineEdit& FileName;  // txtFileName
    TDocumentUse& Use;
};

}  // namespace trelvanox
