#include <QAction>
#include <QVariant>

#include "desktop/widgets/ribbon.h"

namespace trelvanox {

namespace {

// Plain text as tool-tip rich text. Rich text folds runs of blanks into one, so every blank that
// follows another becomes a non-breaking one and double blanks stay double.
QString RichLine(const QString& text) {
    QString html = text.toHtmlEscaped();
    html.replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
    return html;
}

}  // namespace

void SetScreenTip(QAction* action, const QString& header, const QStringList& lines,
                  const QString& keys) {
    action->setProperty("screenTipHeader", header);
    action->setProperty("screenTipLines", lines);
    action->setProperty("screenTipKeys", keys);

    QString tip = QStringLiteral("<qt><p style=\"margin:0\"><b>%1</b></p>").arg(RichLine(header));
    if (!lines.isEmpty()) {
        QStringList rich;
        for (const QString& line : lines) rich << RichLine(line);
        tip += QStringLiteral("<p style=\"margin:4px 0px 0px 8px\">%1</p>")
                   .arg(rich.join(QStringLiteral("<br>")));
    }
    if (!keys.isEmpty())
        tip += QStringLiteral("<p style=\"margin:4px 0px 0px 8px\">%1</p>")
                   .arg(RichLine(QStringLiteral("Клавиши: ") + keys));
    tip += QStringLiteral("<hr><p style=\"margin:0\">%1</p></qt>")
               .arg(RichLine(QStringLiteral("Нажмите  F1 для справки")));
    action->setToolTip(tip);
}

}  // namespace trelvanox
