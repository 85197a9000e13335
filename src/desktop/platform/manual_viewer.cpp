#include "desktop/platform/manual_viewer.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace trelvanox {

namespace {

// Pictures at most as wide as the page shows: a screenshot of a whole window must not need a
// horizontal scroll bar.
class TFittingBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource) return resource;
        QImage image = resource.value<QImage>();
        if (image.isNull()) image.loadFromData(resource.toByteArray());
        const int room = std::max(200, viewport()->width() - 24);
        if (image.isNull() || image.width() <= room) return resource;
        return image.scaledToWidth(room, Qt::SmoothTransformation);
    }
};

}  // namespace

TFmManual::TFmManual(const QUrl& page, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FmManual"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Справка"));
    browser_ = new TFittingBrowser(this);
    browser_->setObjectName(QStringLiteral("tbrManual"));
    browser_->setOpenExternalLinks(true);

    auto* back = new QPushButton(QStringLiteral("Назад"), this);
    back->setObjectName(QStringLiteral("btnManualBack"));
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    auto* contents = new QPushButton(QStringLiteral("Содержание"), this);
    contents->setObjectName(QStringLiteral("btnManualContents"));
    connect(contents, &QPushButton::clicked, this, [this, page] {
        QUrl top = page;
        top.setFragment(QStringLiteral("contents"));
        browser_->setSource(top);
    });
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtManualSearch"));
    search_->setPlaceholderText(QStringLiteral("Найти (Ctrl+F), Enter - следующее"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    for (QPushButton* button : {back, contents}) button->setAutoDefault(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(contents);
    bar->addWidget(search_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_);
    resize(800, 600);
    browser_->setSource(page);
}

bool TFmManual::FindNext() {
    const QString text = search_->text();
    if (text.isEmpty()) return false;
    if (browser_->find(text)) return true;
    // From the top again.
    QTextCursor top = browser_->textCursor();
    top.movePosition(QTextCursor::Start);
    browser_->setTextCursor(top);
    return browser_->find(text);
}

}  // namespace trelvanox
