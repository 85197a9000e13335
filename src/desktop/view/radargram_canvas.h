#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <optional>
#include <vector>

#include "amplitude/amplitude_operations.h"
#include "render/amplitude_scale.h"
#include "render/label_marks.h"
#include "render/render_view.h"
#include "render/rgb_image.h"
#include "render/sample_grid.h"

namespace trelvanox {

class TRadargram;

// The B-scan of a radargram with its axes: trace numbers and chainage along the top, time in ns
// on the left, depth in metres on the right (when the permittivity gives a speed), each label as
// a line in its colour with its text at the top, and the amplitude regulation's processing
// window as a frame.
//
// The wheel (and + and -) zooms around the cursor (the centre), with Ctrl the traces only, with
// Shift the samples only; a left drag (the arrows) pans, Home shows the whole profile, a right
// drag (or a left drag in the window mode) marks a window. In the label editing mode a click asks
// for a label on a trace, a label line is selected and dragged from trace to trace, and keys ask
// to delete, edit or nudge the selected one; the canvas only asks, through its signals: the
// labels change when the file does. Label lines are thinned to one per pixel column, half
// transparent where labels crowd, and texts are drawn only where they fit. The picture is drawn
// when the widget paints, so however many changes arrive between two frames, each frame renders
// once.
//
// The model belongs to the caller and must outlive the canvas or be replaced first. While it is
// being changed elsewhere the canvas is frozen: it paints the picture it last drew, whatever its
// size, and reads nothing of the model until it is thawed.
class TRadargramCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit TRadargramCanvas(QWidget* parent = nullptr);

    // The profile to draw (null: none). freshProfile: another file or other counts, so the view
    // shows the whole profile and the scale is taken anew; otherwise the zoom is kept.
    void ShowProfile(const TRadargram* model, bool freshProfile);
    // Samples to draw in place of the model's (a processed copy of some traces, owned by the
    // caller until replaced); nothing draws the model's. freshScale: the scale is taken anew.
    void SetSamples(std::optional<TSampleGrid> samples, bool freshScale);
    void SetMarks(std::vector<TLabelMark> marks);
    void SetFrame(std::optional<TProcessingWindow> frame);
    const std::optional<TProcessingWindow>& Frame() const { return frame_; }
    void SetGain(double gain);
    void SetPalette(TPalette palette);
    // The percentile of |a| that takes the ends of the colour table; the scale is taken anew.
    void SetClipPercentile(double percentile);
    // Left drags mark a window instead of panning.
    void SetWindowMode(bool on) { windowMode_ = on; }
    // Clicks and left drags work on labels (see above).
    void SetLabelEditMode(bool on);
    bool LabelEditMode() const { return labelEditMode_; }
    void SetMarksShown(bool shown);
    bool MarksShown() const { return marksShown_; }
    // The label the editing mode works on, by its trace.
    void SetSelectedTrace(std::optional<std::uint32_t> trace);
    std::optional<std::uint32_t> SelectedTrace() const { return selectedTrace_; }
    // How many labels lie in the traces the view shows, and how many the profile has.
    std::size_t VisibleLabelCount() const;
    std::size_t LabelCount() const { return marks_.size(); }
    const std::vector<TLabelMark>& Marks() const { return marks_; }

    void Fit();
    const TRenderView& View() const { return view_; }
    void SetView(const TRenderView& view);
    const TRenderStyle& Style() const { return style_; }

    // Where the picture lies inside the widget.
    QRect ImageRect() const;
    // The widget's x of a label's line, or nothing when its trace is not in view.
    std::optional<int> MarkX(const TLabelMark& mark) const;
    // The trace and sample under a widget point, or nothing outside the picture. A pixel of a
    // shrunk view covers several cells: the first of them, or with last the last.
    std::optional<std::pair<std::int64_t, std::int64_t>> CellAt(QPoint point,
                                                                bool last = false) const;
    // How many pictures have been rendered so far.
    int RenderCount() const { return renderCount_; }
    // Frozen, the canvas keeps the picture it shows now and ignores moves of the view.
    void SetFrozen(bool frozen);
    bool Frozen() const { return frozen_; }

  signals:
    void WindowMarked(const TProcessingWindow& window);
    // The part of the profile in view moved (a zoom, a pan, a fit).
    void ViewChanged();
    // Label editing: a click on a trace without a label line near it; a label line selected; a
    // label dragged over trace (while the button is held) and dropped on another trace; and the
    // keys Del, F2 (or a double click) and Left/Right (Shift: ten traces) on the selected label.
    void TraceClicked(std::uint32_t trace);
    void LabelSelected(std::uint32_t trace);
    void LabelDragged(std::uint32_t trace);
    void LabelDropped(std::uint32_t from, std::uint32_t to);
    void LabelDeleteRequested(std::uint32_t trace);
    void LabelEditRequested(std::uint32_t trace);
    void LabelNudgeRequested(std::uint32_t trace, int traces);
    void LabelClicked(int row);
    // The cursor moved to point, or left the picture (nothing).
    void CursorAt(std::optional<QPoint> point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    enum class TDrag { None, Pan, Window, Label };

    std::uint32_t TraceCount() const;
    std::uint32_t SampleCount() const;
    void Changed();  // the picture must be rendered again
    void ZoomAround(double fx, double fy, double zoom, bool tracesOnly = false,
                    bool samplesOnly = false);
    void RenderIfNeeded(QSize size);
    void PaintAxes(QPainter& painter, const QRect& image) const;
    void PaintMarks(QPainter& painter, const QRect& image) const;
    void PaintFrame(QPainter& painter, const QRect& image) const;
    // The label whose line lies within a click's slop of point, or null.
    const TLabelMark* MarkNear(QPoint point) const;
    void FinishWindow(QPoint end);
    // The label editing mode's side of the mouse (radargram_canvas_labels.cpp).
    bool LabelPress(QPoint at);
    void LabelMove(QPoint at);
    void LabelRelease(QPoint at, bool click, bool labelDrag);
    // Delete, F2 and the arrows on a selected label; false when the key is not the mode's.
    bool LabelKeyPress(QKeyEvent* event);
    // The trace under the x of point, clamped into the profile.
    std::uint32_t TraceAtX(QPoint point) const;
    void PaintLabelTexts(QPainter& painter, const QRect& image, const TMarkLayout& layout) const;
    void PaintSelection(QPainter& painter, const QRect& image) const;

    const TRadargram* model_ = nullptr;
    std::optional<TSampleGrid> samples_;
    TRenderView view_;
    TRenderStyle style_;
    double clipPercentile_ = kDefaultClipPercentile;
    bool scaleStale_ = true;
    std::vector<TLabelMark> marks_;
    std::optional<TProcessingWindow> frame_;
    bool windowMode_ = false;
    bool labelEditMode_ = false;
    bool marksShown_ = true;
    std::optional<std::uint32_t> selectedTrace_;
    std::uint32_t dragLabelTo_ = 0;

    TRgbImage pixels_;
    bool stale_ = true;
    bool frozen_ = false;
    QPixmap frozenPicture_;
    int renderCount_ = 0;

    TDrag drag_ = TDrag::None;
    QPoint pressAt_;
    QPoint dragAt_;
    TRenderView pressView_;
};

}  // namespace trelvanox
