#pragma once

#include "app/desktop/MessageBar.h"

namespace morvane::app {

class WindowPresets;

// The last preset operation's message (a preset that could not be read, how
// many were imported…) above the table, until it is dismissed or the next
// preset operation replaces it.
class PresetMessageBar : public MessageBar {
    Q_OBJECT

public:
    explicit PresetMessageBar(WindowPresets& presets, QWidget* parent = nullptr);

    QPushButton* dismissButton() const { return dismiss_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showMessage();

    WindowPresets& presets_;
    QPushButton* dismiss_;
};

} // namespace morvane::app
