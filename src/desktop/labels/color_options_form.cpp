#include "desktop/labels/color_options_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/widgets/color_box.h"

namespace trelvanox {

namespace {

constexpr int kIndicesPerColumn = 7;

// Boxes 5 and 12 also offer a colour of the user's own, no colour and the default colour.
bool OffersCustomColour(int index) {
    return index == 5 || index == 12;
}

}  // namespace

TFmColorOptions::TFmColorOptions(QWidget* parent) : TModelessDialog(parent) {
    setObjectName(QStringLiteral("FmColorOptions"));
    setWindowTitle(QStringLiteral("Цвет меток"));
    // The window is 524 x 364 with its frame; the frame of a standard window takes 16 x 39.
    resize(508, 325);

    auto* group = new QGroupBox(QStringLiteral("Соответствие цвета индексу"), this);
    auto* grid = new QGridLayout(group);
    for (int pair = 0; pair < 2; ++pair) {
        grid->addWidget(new QLabel(QStringLiteral("Индекс"), group), 0, pair * 2);
        grid->addWidget(new QLabel(QStringLiteral("Цвет"), group), 0, pair * 2 + 1);
    }
    for (int index = 1; index <= 14; ++index) {
        const int pair = (index - 1) / kIndicesPerColumn;
        const int line = (index - 1) % kIndicesPerColumn + 1;
        auto* label = new QLabel(QStringLiteral("\"%1\"").arg(index), group);
        label->setToolTip(QStringLiteral("Индекс цвета"));
        TColorBox::TOptions options =
            TColorBox::StandardColors | TColorBox::ExtendedColors | TColorBox::SystemColors;
        if (OffersCustomColour(index))
            options |= TColorBox::CustomColor | TColorBox::IncludeNone | TColorBox::IncludeDefault;
        auto* box = new TColorBox(options, group);
        box->setObjectName(QStringLiteral("ColorBox%1").arg(index));
        box->setToolTip(QStringLiteral("Цвет меток с индексом %1").arg(index));
        box->SetSelected(kStartColourMap[index - 1]);
        // Wide enough for the names, narrow enough for two columns in the designed width.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        label->setBuddy(box);
        colorBoxes_[index - 1] = box;
        grid->addWidget(label, line, pair * 2);
        grid->addWidget(box, line, pair * 2 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    btnOKColorSettings_ = new QPushButton(QStringLiteral("OK"), this);
    btnOKColorSettings_->setObjectName(QStringLiteral("btnOKColorSettings"));
    connect(btnOKColorSettings_, &QPushButton::clicked, this,
            &TFmColorOptions::btnOKColorSettingsClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addWidget(btnOKColorSettings_, 0, Qt::AlignRight);
}

TColourMap TFmColorOptions::ColourMap() const {
    TColourMap map{};
    for (std::size_t i = 0; i < map.size(); ++i) map[i] = colorBoxes_[i]->Selected();
    return map;
}

void TFmColorOptions::btnOKColorSettingsClick() {
    hide();
}

}  // namespace trelvanox
