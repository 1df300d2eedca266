#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QDialog;
class QWidget;

namespace morvane::app {

// Shows a window-modal dialog (a sheet) over a window while a model field
// says so: the dialog opens when the field turns on, closes when it turns
// off, and turns the field off when the user closes it. A field that is on
// before the window appears opens its sheet once the window is shown.
class SheetBinding : public QObject {
    Q_OBJECT

public:
    struct Field {
        std::function<bool()> isShown;
        std::function<void()> dismiss; // turns the field off
    };
    using Make = std::function<QDialog*(QWidget* window)>;

    // `changed`: the model's signal for the field.
    template <typename Source, typename Signal>
    static SheetBinding* bind(QWidget* window, Source* source, Signal changed, Field field, Make make) {
        auto* binding = new SheetBinding(window, std::move(field), std::move(make));
        QObject::connect(source, changed, binding, &SheetBinding::sync);
        binding->sync();
        return binding;
    }

    QDialog* dialog() const { return dialog_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SheetBinding(QWidget* window, Field field, Make make);
    void sync();

    QWidget* window_;
    Field field_;
    Make make_;
    QPointer<QDialog> dialog_;
};

} // namespace morvane::app
