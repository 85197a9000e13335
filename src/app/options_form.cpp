#include "app/options_form.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace trelvanox {

TFmOptions::TFmOptions(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmOptions"));
    setWindowTitle(QStringLiteral("Настройка"));
    resize(916, 639);

    pages_ = new QTabWidget(this);
    const QString captions[PageCount] = {
        QStringLiteral("Общие"),
        QStringLiteral("Таблица прочитанных меток"),
        QStringLiteral("Таблица импортированных меток"),
        QStringLiteral("Редактирование"),
    };
    for (const QString& caption : captions) pages_->addTab(new QWidget, caption);
    (new QVBoxLayout(this))->addWidget(pages_);
}

void TFmOptions::ShowPage(int page) {
    ShowModeless();
    pages_->setCurrentIndex(page);
}

}  // namespace trelvanox
