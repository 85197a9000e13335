#include "desktop/app/user_state.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QWidget>

#include "common/user_folders.h"
#include "desktop/widgets/remembered.h"
#include "desktop/widgets/spin_edit.h"

namespace trelvanox {

namespace {

QString FieldKey(const QWidget& window, const QObject& control) {
    return QStringLiteral("Fields/%1/%2").arg(window.objectName(), control.objectName());
}

// A field the user types into: not a result shown read-only, nor the line edit inside a spin
// box or a combo box.
bool OwnLineEdit(const QLineEdit& edit) {
    return !edit.objectName().isEmpty() && !edit.isReadOnly() &&
           !qobject_cast<QAbstractSpinBox*>(edit.parentWidget()) &&
           !qobject_cast<TSpinEdit*>(edit.parentWidget()) &&
           !qobject_cast<QComboBox*>(edit.parentWidget());
}

// The named controls of type T inside window that carry their values into the next run.
template <typename T>
QList<T*> Controls(const QWidget& window) {
    QList<T*> kept;
    for (T* control : window.findChildren<T*>())
        if (!control->objectName().isEmpty() && IsRemembered(*control, window)) kept << control;
    return kept;
}

}  // namespace

TUserState::TUserState(const QString& path)
    : file_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

TUserState::~TUserState() = default;

QStringList TUserState::RecentFiles() const {
    return file_->value(QStringLiteral("RecentFiles")).toStringList().mid(0, kRecentFiles);
}

void TUserState::AddRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    file_->setValue(QStringLiteral("RecentFiles"), files.mid(0, kRecentFiles));
}

QString TUserState::Text(const QString& key) const {
    return file_->value(key).toString();
}

void TUserState::SetText(const QString& key, const QString& value) {
    file_->setValue(key, value);
}

void TUserState::SaveGeometry(const QWidget& window) {
    file_->setValue(QStringLiteral("Geometry/") + window.objectName(), window.saveGeometry());
}

void TUserState::RestoreGeometry(QWidget& window) const {
    const QByteArray geometry =
        file_->value(QStringLiteral("Geometry/") + window.objectName()).toByteArray();
    if (!geometry.isEmpty()) window.restoreGeometry(geometry);
}

void TUserState::SaveFields(const QWidget& window) {
    for (const QLineEdit* edit : Controls<QLineEdit>(window))
        if (OwnLineEdit(*edit)) file_->setValue(FieldKey(window, *edit), edit->text());
    for (const TSpinEdit* spin : Controls<TSpinEdit>(window))
        file_->setValue(FieldKey(window, *spin), spin->Text());
    for (const QAbstractSpinBox* spin : Controls<QAbstractSpinBox>(window))
        file_->setValue(FieldKey(window, *spin), spin->text());
    for (const QAbstractButton* box : Controls<QAbstractButton>(window))
        if (box->isCheckable()) file_->setValue(FieldKey(window, *box), box->isChecked());
    for (const QComboBox* combo : Controls<QComboBox>(window))
        file_->setValue(FieldKey(window, *combo), combo->currentIndex());
}

void TUserState::RestoreFields(QWidget& window) const {
    const auto stored = [&](const QObject& control) {
        return file_->value(FieldKey(window, control));
    };
    for (QLineEdit* edit : Controls<QLineEdit>(window))
        if (const QVariant value = stored(*edit); value.isValid() && OwnLineEdit(*edit))
            edit->setText(value.toString());
    for (TSpinEdit* spin : Controls<TSpinEdit>(window))
        if (const QVariant value = stored(*spin); value.isValid()) spin->SetText(value.toString());
    for (QAbstractSpinBox* spin : Controls<QAbstractSpinBox>(window))
        if (const QVariant value = stored(*spin); value.isValid()) {
            // Through the spin box's own editing, so that its value follows the text.
            if (auto* edit = spin->findChild<QLineEdit*>()) edit->setText(value.toString());
            spin->interpretText();
        }
    for (QAbstractButton* box : Controls<QAbstractButton>(window)) {
        const QVariant value = stored(*box);
        if (!value.isValid() || !box->isCheckable() || box->isChecked() == value.toBool()) continue;
        // Clicked as the user would, so the dialog's rules run; a radio button is set by
        // clicking the one that was on.
        if (value.toBool() || !box->autoExclusive()) box->click();
    }
    for (QComboBox* combo : Controls<QComboBox>(window))
        if (const QVariant value = stored(*combo); value.isValid()) {
            const int index = value.toInt();
            if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
        }
}

void TUserState::Sync() {
    file_->sync();
}

QString DefaultUserStatePath() {
    const std::filesystem::path folder = UserConfigFolder();
    return QDir(QString::fromStdU16String(folder.u16string()))
        .filePath(QStringLiteral("desktop-state.ini"));
}

}  // namespace trelvanox
