#include "app/desktop/SheetBinding.h"

#include "app/desktop/WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace morvane::app {

SheetBinding::SheetBinding(QWidget* window, Field field, Make make)
    : QObject(window), window_(window), field_(std::move(field)), make_(std::move(make)) {
    window_->installEventFilter(this);
}

bool SheetBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show) {
        // After the window is up, so the sheet opens over it.
        QTimer::singleShot(0, this, &SheetBinding::sync);
    } else if (watched == dialog_ && event->type() == QEvent::Resize && dialog_->isVisible()) {
        // A sheet that grows or shrinks with what it lists stays centred on its window.
        QTimer::singleShot(0, this, [this] {
            if (dialog_) {
                WindowPlacement::centre(*dialog_, *window_);
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

void SheetBinding::sync() {
    const bool shown = field_.isShown();
    if (shown && !dialog_ && window_->isVisible()) {
        QDialog* dialog = make_(window_);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::WindowModal);
        connect(dialog, &QDialog::finished, this, [this, dialog] {
            if (dialog_ == dialog) {
                dialog_ = nullptr;
                if (field_.isShown()) {
                    field_.dismiss();
                }
            }
        });
        dialog_ = dialog;
        dialog->installEventFilter(this);
        WindowPlacement::centre(*dialog, *window_);
        dialog->open();
    } else if (!shown && dialog_) {
        QDialog* dialog = dialog_;
        dialog_ = nullptr;
        dialog->reject();
    }
}

} // namespace morvane::app
