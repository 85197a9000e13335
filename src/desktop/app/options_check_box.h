#pragma once

#include <QCheckBox>

namespace trelvanox {

// A check box whose caption wraps onto as many lines as its width needs; TAB characters in the
// caption expand to tab stops. The box sits beside the first line, and a click anywhere on the
// caption toggles it.
class TWrapCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit TWrapCheckBox(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

  private:
    // Left edge of the caption: the box and the spacing after it.
    int CaptionIndent() const;
    QRect CaptionRect(int width) const;
};

}  // namespace trelvanox
