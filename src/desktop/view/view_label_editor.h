#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "labels/label_edit.h"
#include "labels/label_write_back.h"

class QLabel;
class QWidget;

namespace trelvanox {

class TLabelEditorPopup;
class TPlatform;
class TRadargramCanvas;
class TRadargramDocument;

// The view's label editing: turns what the canvas asks in its label editing mode (a label on a
// clicked trace, a dragged line, Del, F2, Left/Right) into edits of the document, each one
// undoable step, and opens the text-and-colour editor where one is needed. Refusals are shown as
// messages; the file and its history stay as they were.
//
// The document, the platform, the canvas, the status line and the owner belong to the view,
// which owns this object too.
class TViewLabelEditor : public QObject {
    Q_OBJECT
  public:
    TViewLabelEditor(TRadargramDocument& document, TPlatform& platform, QWidget& owner,
                     TRadargramCanvas& canvas, QLabel& status,
                     std::function<TColourMap()> colourMap);

    TLabelEditorPopup* Popup() const { return popup_; }

  private:
    enum class TPending { None, Add, Set };

    void AskNew(std::uint32_t trace);
    void AskEdit(std::uint32_t trace);
    void PopupAccepted();
    void Move(std::uint32_t from, std::uint32_t to);
    void Nudge(std::uint32_t trace, int traces);
    void Delete(std::uint32_t trace);
    void ShowDragged(std::uint32_t trace);
    // Applies the edit; on success the canvas selects selectAfter (nothing: no label).
    bool Apply(const std::function<std::optional<TLabelEdit>()>& make,
               std::optional<std::uint32_t> selectAfter);
    TColourMap Colours() const;

    TRadargramDocument& document_;
    TPlatform& platform_;
    QWidget& owner_;
    TRadargramCanvas& canvas_;
    QLabel& status_;
    std::function<TColourMap()> colourMap_;
    TLabelEditorPopup* popup_ = nullptr;
    TPending pending_ = TPending::None;
    std::uint32_t pendingTrace_ = 0;
};

}  // namespace trelvanox
