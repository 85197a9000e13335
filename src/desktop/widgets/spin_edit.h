#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace trelvanox {

// A spin edit that is a text field first: a line edit with up and down arrow buttons beside it.
// The field holds whatever the user types ("", "-", "abc" included) and reports every change of
// its text; the number is read from the text when asked for. Callers that convert the text
// themselves (as floating point, say) see exactly what was typed.
//
// The range MinValue..MaxValue limits the value unless both are 0, which means no limit. Steps
// (arrow buttons, Up and Down keys) and SetValue keep the value inside the range; a typed value
// is only brought back inside it when the field loses the focus. A text that is not a whole
// number stays as typed unless ZeroOnInvalid is on.
class TSpinEdit : public QWidget {
    Q_OBJECT
  public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    // Setting one limit past the other moves the other along, so min <= max always holds. The
    // text is left as it stands.
    void SetMinValue(int value);
    void SetMaxValue(int value);
    void SetRange(int minValue, int maxValue);
    // Neither limit restricts the value when both are 0.
    bool Bounded() const { return min_ != 0 || max_ != 0; }

    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }

    // The text as a whole number (optionally signed decimal within 32 bits); MinValue (0 for an
    // unbounded field) when the text is not one. Not limited to the range: a typed value outside
    // it is read as typed until the field loses the focus.
    int Value() const;
    // Shows value, brought inside the range.
    void SetValue(int value);

    QString Text() const;
    // Sets the text as it is; setting the text the field already holds is no change.
    void SetText(const QString& text);

    // When on, a text that is not a whole number (the empty text included) is replaced by "0"
    // (brought inside the range) when the field loses the focus. Off at the start.
    bool ZeroOnInvalid() const { return zeroOnInvalid_; }
    void SetZeroOnInvalid(bool on) { zeroOnInvalid_ = on; }

    // One step up or down by Increment from Value(), kept inside the range.
    void StepUp();
    void StepDown();

    QLineEdit* Editor() const { return edit_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

  signals:
    // Every change of the text, by the user or by the program.
    void TextChanged(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Clamp(long long value) const;
    void StepBy(int direction);
    void FocusLeft();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 0;
    int increment_ = 1;
    bool zeroOnInvalid_ = false;
};

}  // namespace trelvanox
