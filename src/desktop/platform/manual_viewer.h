#pragma once

#include <QDialog>
#include <QUrl>

class QLineEdit;
class QTextBrowser;

namespace trelvanox {

// The program's own window for its manual, when no browser can show it: the page with its
// contents, "Назад", "Содержание" and a search field that Ctrl+F reaches (Enter finds the next
// place, from the top again after the last). Pictures wider than the window are shown at its
// width.
class TFmManual : public QDialog {
    Q_OBJECT
  public:
    TFmManual(const QUrl& page, QWidget* owner);

    QTextBrowser* Browser() const { return browser_; }
    QLineEdit* SearchField() const { return search_; }
    // Finds the next place of the search field's text; false when the manual has none.
    bool FindNext();

  private:
    QTextBrowser* browser_;
    QLineEdit* search_;
};

}  // namespace trelvanox
