#include "desktop/view/view_label_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "desktop/labels/label_edit_apply.h"
#include "desktop/platform/command_dispatcher.h"
#include "desktop/platform/platform.h"
#include "desktop/view/label_editor_popup.h"
#include "desktop/view/radargram_canvas.h"
#include "document/radargram_document.h"
#include "labels/label_edits.h"
#include "labels/read_label_table.h"

namespace trelvanox {

namespace {

const QString kCaption = QStringLiteral("Правка меток");

}  // namespace

TViewLabelEditor::TViewLabelEditor(TRadargramDocument& document, TPlatform& platform,
                                   QWidget& owner, TRadargramCanvas& canvas, QLabel& status,
                                   std::function<TColourMap()> colourMap)
    : QObject(&owner),
      document_(document),
      platform_(platform),
      owner_(owner),
      canvas_(canvas),
      status_(status),
      colourMap_(std::move(colourMap)) {
    popup_ = new TLabelEditorPopup(&owner);
    connect(popup_, &QDialog::accepted, this, &TViewLabelEditor::PopupAccepted);
    connect(popup_, &QDialog::rejected, this, [this] { pending_ = TPending::None; });
    connect(&canvas_, &TRadargramCanvas::TraceClicked, this, &TViewLabelEditor::AskNew);
    connect(&canvas_, &TRadargramCanvas::LabelEditRequested, this, &TViewLabelEditor::AskEdit);
    connect(&canvas_, &TRadargramCanvas::LabelDropped, this, &TViewLabelEditor::Move);
    connect(&canvas_, &TRadargramCanvas::LabelNudgeRequested, this, &TViewLabelEditor::Nudge);
    connect(&canvas_, &TRadargramCanvas::LabelDeleteRequested, this, &TViewLabelEditor::Delete);
    connect(&canvas_, &TRadargramCanvas::LabelDragged, this, &TViewLabelEditor::ShowDragged);
}

TColourMap TViewLabelEditor::Colours() const {
    return colourMap_ ? colourMap_() : kStartColourMap;
}

void TViewLabelEditor::AskNew(std::uint32_t trace) {
    pending_ = TPending::Add;
    pendingTrace_ = trace;
    popup_->Start(QStringLiteral("Новая метка на трассе %1").arg(trace), QString(), Colours()[0],
                  Colours());
}

void TViewLabelEditor::AskEdit(std::uint32_t trace) {
    const auto& marks = canvas_.Marks();
    const auto mark = std::find_if(marks.begin(), marks.end(),
                                   [&](const TLabelMark& m) { return m.Trace == trace; });
    if (mark == marks.end()) return;
    pending_ = TPending::Set;
    pendingTrace_ = trace;
    popup_->Start(QStringLiteral("Метка на трассе %1").arg(trace),
                  QString::fromUtf8(mark->Text.data(), static_cast<qsizetype>(mark->Text.size())),
                  mark->Color, Colours());
}

void TViewLabelEditor::PopupAccepted() {
    const TPending pending = std::exchange(pending_, TPending::None);
    const std::uint32_t trace = pendingTrace_;
    const std::optional<std::uint32_t> color = popup_->Color();
    if (!color) {
        platform_.MessageBox(&owner_,
                             QStringLiteral("Цвет «") + popup_->txtLabelColor()->text() +
                                 QStringLiteral("» не является значением цвета: введите число, "
                                                "как в таблице меток, или 0xBBGGRR."),
                             kCaption, TMsgButtons::Ok, TMsgIcon::Exclamation);
        return;
    }
    const std::string text = popup_->LabelText().toStdString();
    if (pending == TPending::Add)
        Apply([&] { return AddLabelEdit(document_.Model(), trace, text, *color); }, trace);
    else if (pending == TPending::Set)
        Apply([&] { return SetLabelEdit(document_.Model(), trace, text, *color); }, trace);
}

void TViewLabelEditor::Move(std::uint32_t from, std::uint32_t to) {
    if (!Apply([&] { return MoveLabelEdit(document_.Model(), from, to); }, to))
        canvas_.SetSelectedTrace(from);
}

void TViewLabelEditor::Nudge(std::uint32_t trace, int traces) {
    const std::int64_t last = std::int64_t{document_.Model().Header().TraceCount} - 1;
    const auto to =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(std::int64_t{trace} + traces, 0, last));
    if (to != trace) Move(trace, to);
}

void TViewLabelEditor::Delete(std::uint32_t trace) {
    Apply([&] { return DeleteLabelEdit(document_.Model(), trace); }, std::nullopt);
}

void TViewLabelEditor::ShowDragged(std::uint32_t trace) {
    const TRadargram& model = document_.Model();
    const auto traces = model.TraceHeaders();
    QString text = QStringLiteral("Перенос метки: трасса %1").arg(trace);
    if (trace < traces.size()) {
        const std::string chainage =
            ChainageText(traces[trace].Coordinate, model.Header().StartCoordinate);
        text += QStringLiteral("   ") + QString::fromUtf8(chainage.c_str());
    }
    status_.setText(text);
}

bool TViewLabelEditor::Apply(const std::function<std::optional<TLabelEdit>()>& make,
                             std::optional<std::uint32_t> selectAfter) {
    bool changed = false;
    // Anything beyond the refusals the edit itself reports goes to the general error display.
    RunCommand(platform_, &owner_,
               [&] { changed = ApplyModelEdit(document_, platform_, &owner_, kCaption, make); });
    if (changed) canvas_.SetSelectedTrace(selectAfter);
    return changed;
}

}  // namespace trelvanox
