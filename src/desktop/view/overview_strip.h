#pragma once

#include <QPixmap>
#include <QWidget>

#include "render/render_view.h"
#include "render/rgb_image.h"

namespace trelvanox {

class TRadargram;

// A strip of the whole profile under the view, with the part the view shows marked. A press or a
// drag on it asks to show the part around the trace under the cursor.
//
// The model belongs to the caller and must outlive the strip or be replaced first. Frozen (while
// the model is changed elsewhere), it paints what it last drew and reads nothing of the model.
class TOverviewStrip : public QWidget {
    Q_OBJECT
  public:
    explicit TOverviewStrip(QWidget* parent = nullptr);

    // The profile (null: none), drawn anew with the style's gain and colour table.
    void ShowProfile(const TRadargram* model, const TRenderStyle& style);
    // The part of the profile the view shows.
    void SetShown(const TRenderView& view);
    // The x of the widget at which trace lies.
    int XOfTrace(double trace) const;
    void SetFrozen(bool frozen);
    // How many strips have been rendered so far.
    int RenderCount() const { return renderCount_; }

  signals:
    void CenterOn(double trace);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    std::uint32_t TraceCount() const;
    void Ask(double x);

    const TRadargram* model_ = nullptr;
    TRenderStyle style_;
    TRenderView shown_;
    TRgbImage pixels_;
    bool stale_ = true;
    int renderCount_ = 0;
    bool frozen_ = false;
    QPixmap frozenPicture_;
};

}  // namespace trelvanox
